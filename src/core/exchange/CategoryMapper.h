#pragma once

#include "store/Table.h"

#include <QHash>
#include <QString>

#include <memory>

namespace srk {

class Store;

// Turns the category text of an import line into a category number: a category of that name (letter
// case ignored), else a text of digits only that is an existing category's number (our own exports
// without the name column), else a new category under the next number, made once. Blank is no category.
class CategoryMapper {
public:
    explicit CategoryMapper(Store& store);
    // NoError, or the store's error code when a read or the add failed.
    int categoryId(const QString& text, qint64& id);
    int categoriesAdded() const { return m_added; }

private:
    int lookUp(const QString& text, qint64& id);

    std::unique_ptr<Table> m_table;
    QHash<QString, qint64> m_known;  // folded name -> id
    QHash<QString, qint64> m_asWritten;  // text as the file has it -> id, to skip the folding
    qint64 m_highest = -1;
    int m_added = 0;
};

}  // namespace srk
