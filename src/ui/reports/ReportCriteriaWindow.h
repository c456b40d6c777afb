#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace srk {

class IniFile;
struct ReportCriteria;

// The "Report Criteria" window: style, preview, custom font and the selection prefix of the next report.
// Whatever the controls hold is written back to the criteria on either button.
class ReportCriteriaWindow : public QDialog {
    Q_OBJECT
public:
    // `noun` names what the prefix selects ("artists"); `positions` keeps the window's placement.
    ReportCriteriaWindow(ReportCriteria& criteria, const QString& noun, IniFile* positions, QWidget* parent = nullptr);

    // Shows the window modally; true when closed with "&Ok".
    static bool ask(ReportCriteria& criteria, const QString& noun, IniFile* positions, QWidget* parent);

    static QString promptFor(const QString& noun) { return QStringLiteral("Select ") + noun + QStringLiteral(" that start with:"); }

    void done(int result) override;

private:
    void includeChanged();

    ReportCriteria& m_criteria;
    QRadioButton* m_standard = nullptr;
    QRadioButton* m_brief = nullptr;
    QCheckBox* m_preview = nullptr;
    QCheckBox* m_customFont = nullptr;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_selected = nullptr;
    QLabel* m_prompt = nullptr;
    QLineEdit* m_selection = nullptr;
};

}  // namespace srk
