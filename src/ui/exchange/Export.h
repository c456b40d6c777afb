#pragma once

#include "exchange/ExportSetup.h"
#include "ui/services/WindowRequest.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace srk {

struct ProgramContext;
class MarkedListView;
class WindowPlacer;
class WindowRegistry;

// The export window: every field on the left, the fields to write on the right with their pictures.
// The marking and the buttons' rules are the core setup's; the run is the core export job behind a
// progress window.
class Export : public QWidget {
    Q_OBJECT
public:
    static const QString Procedure;
    enum class Button { Add, Remove, ShiftUp, ShiftDown, Picture, Ok, Cancel };

    static void registerWith(WindowRegistry& windows);

    explicit Export(ProgramContext& context, QWidget* parent = nullptr);
    ~Export() override;

    QPushButton* button(Button b) const;
    MarkedListView* allList() const { return m_all; }
    MarkedListView* exportList() const { return m_export; }
    QCheckBox* headerBox() const { return m_header; }
    QLabel* typeDisplay() const { return m_type; }
    const ExportSetup& setup() const { return m_setup; }
    WindowResponse response() const { return m_response; }

    void press(Button b);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void askPicture();
    void runExport();
    void showLists();

    ProgramContext& m_context;
    ExportSetup m_setup;
    MarkedListView* m_all = nullptr;
    MarkedListView* m_export = nullptr;
    QCheckBox* m_header = nullptr;
    QLabel* m_type = nullptr;
    QPushButton* m_buttons[7] = {};
    WindowPlacer* m_placer = nullptr;
    WindowResponse m_response = WindowResponse::Cancelled;
    bool m_running = false;
};

}  // namespace srk
