#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace srk {

// "Print Setup": chooses the printer (or a PDF file, always offered) and its paper and orientation for
// the printouts that follow. It prints nothing; OK keeps the choice in the printer, Cancel leaves it.
class PrintSetupDialog : public QDialog {
    Q_OBJECT
public:
    static const QString PdfEntry; // the printer list's entry for a PDF file

    PrintSetupDialog(QPrinter& printer, QWidget* parent = nullptr);

    QComboBox* printerList() const { return m_printers; }
    QComboBox* paperList() const { return m_papers; }
    QRadioButton* portrait() const { return m_portrait; }
    QRadioButton* landscape() const { return m_landscape; }
    QLineEdit* fileEntry() const { return m_file; }

    void accept() override;

private:
    void printerChanged();

    QPrinter& m_printer;
    QComboBox* m_printers;
    QComboBox* m_papers;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QLineEdit* m_file;
    QPushButton* m_ok;
};

} // namespace srk
