#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace srk {

// Asks for the description a query is saved under, or shows the one about to be deleted. Its caption
// and prompt are display-text numbers: adding (234, 231), changing (232, 230), deleting (233).
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
