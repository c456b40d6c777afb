#pragma once

#include "songs/NewCategory.h"

#include <QComboBox>
#include <QVector>

namespace srk {

class TableAccess;

// The category drop list of the forms: names sorted, each with its id. A typed name not in the list
// may be added as a new category (the user is asked); blank means no category (id 0).
class CategoryDropList : public QComboBox {
    Q_OBJECT
public:
    CategoryDropList(TableAccess& access, QWidget* parent = nullptr);

    // Shows the category with this id (blank for 0 or an unknown id).
    void showCategory(qint64 id);
    // Accepts the typed name; on true id holds the category's id (0 for blank).
    bool accept(qint64& id);
    // Another window may have renamed the category: shows it by its id again, unless the user is
    // typing another name.
    void refresh(qint64 id);

private:
    void reload();
    QString nameOf(qint64 id) const;

    TableAccess& m_access;
    QVector<CategoryChoice> m_categories;
    QString m_shown;
};

}  // namespace srk
