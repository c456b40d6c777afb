#pragma once

#include "exchange/ImportMapping.h"
#include "ui/services/WindowRequest.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace srk {

struct ProgramContext;
class WindowPlacer;
class WindowRegistry;

// The import window: the columns of the chosen file on the left, the 22 song fields on the right, and
// the buttons that map one onto the other. Everything it decides is the core mapping's; the run is the
// core import job behind a progress window.
class Import : public QWidget {
    Q_OBJECT
public:
    static const QString Procedure;
    enum class Button { Auto, Assign, Unassign, Picture, Next, Ok, Cancel };

    static void registerWith(WindowRegistry& windows);
    // Asks for the file (again while the chosen one is empty) and opens the window on it; nullptr when
    // the dialog was cancelled or the file cannot be read (after its message).
    static Import* open(ProgramContext& context, QWidget* dialogParent);

    Import(ProgramContext& context, std::unique_ptr<ImportMapping> mapping, QWidget* parent = nullptr);
    ~Import() override;

    QPushButton* button(Button b) const;
    QTreeWidget* fieldList() const { return m_fields; }
    QTreeWidget* targetList() const { return m_targets; }
    QCheckBox* headerBox() const { return m_header; }
    QLabel* recordNumber() const { return m_record; }
    const ImportMapping& mapping() const { return *m_mapping; }
    WindowResponse response() const { return m_response; }

    void press(Button b);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void autoAssign();
    void assign();
    void unassign();
    void askPicture();
    void next();
    void runImport();
    void fieldChosen();
    void targetChosen();
    void showFields();
    void showTargets();
    void showState();
    int currentField() const;
    int currentTarget() const;

    ProgramContext& m_context;
    std::unique_ptr<ImportMapping> m_mapping;
    QTreeWidget* m_fields = nullptr;
    QTreeWidget* m_targets = nullptr;
    QCheckBox* m_header = nullptr;
    QLabel* m_record = nullptr;
    QPushButton* m_buttons[7] = {};
    WindowPlacer* m_placer = nullptr;
    WindowResponse m_response = WindowResponse::Cancelled;
    bool m_coupling = false;
    bool m_running = false;
};

}  // namespace srk
