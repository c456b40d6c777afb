#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace srk {

class MessageService;

// "Enter Picture...": one entry preset to the current picture. A picture must begin with "@"; other text
// is refused with a message and the entry is selected again.
class PictureEntry : public QDialog {
    Q_OBJECT
public:
    PictureEntry(const QString& current, MessageService& messages, QWidget* parent = nullptr);
    QLineEdit* entry() const { return m_entry; }
    QString picture() const;

public Q_SLOTS:
    void accept() override;

private:
    MessageService& m_messages;
    QLineEdit* m_entry = nullptr;
};

// Asks for a picture; blank when cancelled (the caller then keeps its picture).
QString ImportExport_AskPicture(QWidget* parent, MessageService& messages, const QString& current);

}  // namespace srk
