#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace srk {

// Asks for the description a query is saved under, or shows the one about to be deleted, with the
// wizard's own caption and prompt for adding, changing or deleting.
class QueryDescriptionDialog : public QDialog {
    Q_OBJECT
public:
    enum class Purpose { Add, Change, Delete };

    QueryDescriptionDialog(QWidget* parent, Purpose purpose, const QString& description);
    QString description() const;

    // The description accepted, nothing when cancelled.
    static std::optional<QString> ask(QWidget* parent, Purpose purpose, const QString& description);

private:
    QLineEdit* m_description;
    QPushButton* m_ok;
};

} // namespace srk
