#include "ui/shell/PrintSetupDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace srk {

const QString PrintSetupDialog::PdfEntry = QStringLiteral("PDF File");

namespace {

const QPageSize::PageSizeId kPapers[] = {QPageSize::A4,        QPageSize::Letter, QPageSize::Legal,
                                         QPageSize::A5,        QPageSize::A3,     QPageSize::B5,
                                         QPageSize::Executive, QPageSize::Tabloid};

} // namespace

PrintSetupDialog::PrintSetupDialog(QPrinter& printer, QWidget* parent) : QDialog(parent), m_printer(printer) {
    setWindowTitle(QStringLiteral("Print Setup"));
    setObjectName(QStringLiteral("PrintSetup"));

    m_printers = new QComboBox(this);
    m_printers->addItems(QPrinterInfo::availablePrinterNames());
    m_printers->addItem(PdfEntry);
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat || m_printers->count() == 1;
    m_printers->setCurrentIndex(pdf ? m_printers->count() - 1
                                    : std::max(0, m_printers->findText(printer.printerName())));

    m_file = new QLineEdit(this);
    m_file->setText(printer.outputFileName().isEmpty() ? QDir::home().filePath(QStringLiteral("sonorika.pdf"))
                                                       : printer.outputFileName());

    m_papers = new QComboBox(this);
    for (QPageSize::PageSizeId id : kPapers)
        m_papers->addItem(QPageSize::name(id), int(id));
    const int current = m_papers->findData(int(printer.pageLayout().pageSize().id()));
    m_papers->setCurrentIndex(std::max(0, current));

    auto* orientation = new QGroupBox(QStringLiteral("Orientation"), this);
    m_portrait = new QRadioButton(QStringLiteral("P&ortrait"), orientation);
    m_landscape = new QRadioButton(QStringLiteral("&Landscape"), orientation);
    auto* sides = new QHBoxLayout(orientation);
    sides->addWidget(m_portrait);
    sides->addWidget(m_landscape);
    (printer.pageLayout().orientation() == QPageLayout::Landscape ? m_landscape : m_portrait)
        ->setChecked(true);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Printer:"), m_printers);
    fields->addRow(QStringLiteral("&File:"), m_file);
    fields->addRow(QStringLiteral("Paper &Size:"), m_papers);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &PrintSetupDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(orientation);
    layout->addLayout(buttons);

    connect(m_printers, &QComboBox::currentIndexChanged, this, &PrintSetupDialog::printerChanged);
    connect(m_file, &QLineEdit::textChanged, this, &PrintSetupDialog::printerChanged);
    printerChanged();
}

void PrintSetupDialog::printerChanged() {
    const bool pdf = m_printers->currentText() == PdfEntry;
    m_file->setEnabled(pdf);
    // A PDF printer needs a file to write to.
    m_ok->setEnabled(!pdf || !m_file->text().trimmed().isEmpty());
}

void PrintSetupDialog::accept() {
    if (m_printers->currentText() == PdfEntry) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_file->text().trimmed());
    } else {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setPrinterName(m_printers->currentText());
    }
    m_printer.setPageSize(QPageSize(QPageSize::PageSizeId(m_papers->currentData().toInt())));
    m_printer.setPageOrientation(m_landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QDialog::accept();
}

} // namespace srk
