#include "ui/reports/ReportCriteriaWindow.h"

#include "reports/ReportCriteria.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowPlacer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace srk {

ReportCriteriaWindow::ReportCriteriaWindow(ReportCriteria& criteria, const QString& noun, IniFile* positions,
                                           QWidget* parent)
    : QDialog(parent), m_criteria(criteria) {
    setObjectName(QStringLiteral("reportCriteria"));
    setWindowTitle(QStringLiteral("Report Criteria"));

    auto* style = new QGroupBox(QStringLiteral("Report &Style"), this);
    m_standard = new QRadioButton(QStringLiteral("Standard"), style);
    m_standard->setObjectName(QStringLiteral("styleStandard"));
    m_brief = new QRadioButton(QStringLiteral("Brief"), style);
    m_brief->setObjectName(QStringLiteral("styleBrief"));
    auto* styleRow = new QHBoxLayout(style);
    styleRow->addWidget(m_standard);
    styleRow->addWidget(m_brief);

    m_preview = new QCheckBox(QStringLiteral("Preview"), this);
    m_preview->setObjectName(QStringLiteral("previewFlag"));
    m_customFont = new QCheckBox(QStringLiteral("Use Custom Font"), this);
    m_customFont->setObjectName(QStringLiteral("useCustomFont"));

    auto* include = new QGroupBox(QStringLiteral("&Include"), this);
    m_all = new QRadioButton(QStringLiteral("All"), include);
    m_all->setObjectName(QStringLiteral("includeAll"));
    m_selected = new QRadioButton(QStringLiteral("Selected"), include);
    m_selected->setObjectName(QStringLiteral("includeSelected"));
    auto* includeRow = new QHBoxLayout(include);
    includeRow->addWidget(m_all);
    includeRow->addWidget(m_selected);

    m_prompt = new QLabel(promptFor(noun), this);
    m_prompt->setObjectName(QStringLiteral("selectionPrompt"));
    m_selection = new QLineEdit(this);
    m_selection->setObjectName(QStringLiteral("reportSelection"));
    m_selection->setMaxLength(30);
    m_prompt->setBuddy(m_selection);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* checks = new QHBoxLayout;
    checks->addWidget(m_preview);
    checks->addWidget(m_customFont);
    checks->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(style);
    layout->addLayout(checks);
    layout->addWidget(include);
    layout->addWidget(m_prompt);
    layout->addWidget(m_selection);
    layout->addWidget(buttons);

    (criteria.brief() ? m_brief : m_standard)->setChecked(true);
    m_preview->setChecked(criteria.PreviewFlag != 0);
    m_customFont->setChecked(criteria.UseCustomFont != 0);
    (criteria.selectedOnly() ? m_selected : m_all)->setChecked(true);
    m_selection->setText(criteria.ReportSelection.left(30));
    connect(m_selected, &QRadioButton::toggled, this, &ReportCriteriaWindow::includeChanged);
    includeChanged();

    if (positions)
        new WindowPlacer(this, *positions, QStringLiteral("ReportCriteria"));
}

void ReportCriteriaWindow::includeChanged() {
    const bool selected = m_selected->isChecked();
    m_selection->setEnabled(selected);
    if (!selected)
        m_criteria.SelectedOrAll = QStringLiteral("All");
}

bool ReportCriteriaWindow::ask(ReportCriteria& criteria, const QString& noun, IniFile* positions, QWidget* parent) {
    ModalWindow<ReportCriteriaWindow> window(criteria, noun, positions, parent);
    return window.exec().accepted();
}

void ReportCriteriaWindow::done(int result) {
    // Either button leaves the criteria as the controls hold them.
    m_criteria.ReportStyle = m_brief->isChecked() ? QStringLiteral("Brief") : QStringLiteral("Standard");
    m_criteria.PreviewFlag = m_preview->isChecked() ? 1 : 0;
    m_criteria.UseCustomFont = m_customFont->isChecked() ? 1 : 0;
    m_criteria.SelectedOrAll = m_selected->isChecked() ? QStringLiteral("Selected") : QStringLiteral("All");
    m_criteria.ReportSelection = m_selection->text();
    QDialog::done(result);
}

}  // namespace srk
