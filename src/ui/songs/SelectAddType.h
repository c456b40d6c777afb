#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QRadioButton;

namespace srk {

// "Select Add Mode": asks how a new song is to be added. However the window is closed, the mode
// chosen at that moment is the answer.
class SelectAddType : public QDialog {
    Q_OBJECT
public:
    explicit SelectAddType(QWidget* parent = nullptr);

    // "Compilation", "Single Artist" or "Normal".
    static QString run(QWidget* parent);

    QString choice() const;
    QRadioButton* option(const QString& text) const;
    QPushButton* okButton() const { return m_ok; }

private:
    QList<QRadioButton*> m_options;
    QPushButton* m_ok;
};

}  // namespace srk
