#pragma once

#include "store/Record.h"
#include "ui/services/FormMove.h"
#include "ui/services/WindowRequest.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace srk {

struct ProgramContext;
class DittoKey;
class FormToolBar;
class TableDef;
class WindowPlacer;

// The one-field form of a look-up table (a category, a medium): insert, change and delete by the
// window-request protocol. Insert primes the record first when the table numbers its records.
class LookupForm : public QDialog {
    Q_OBJECT
public:
    struct Design {
        QString procedure;  // placement and ditto name, "UpdateCategories"
        QString insertTitle;
        QString changeTitle;
        QString prompt;
        const TableDef* table = nullptr;
        int field = 0;
        QString picture;  // "@s30"
        bool primes = false;
    };

    // Carries out the request on record. Delete shows no window. On completed record holds what was
    // written. With `move` the form shows the record tool bar; a press there saves as OK does and, once
    // saved, ends the form with the move asked for (None otherwise).
    static WindowResponse run(ProgramContext& context, const Design& design, WindowRequest request, Record& record,
                              QWidget* parent, FormMove* move = nullptr);

    LookupForm(ProgramContext& context, const Design& design, WindowRequest request, const Record& record,
               QWidget* parent = nullptr, bool withToolBar = false);
    ~LookupForm() override;

    QLineEdit* field() const { return m_edit; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    const Record& record() const { return m_record; }
    FormToolBar* toolBar() const { return m_toolBar; }
    FormMove move() const { return m_move; }

    void done(int result) override;

protected:

private:
    void onOk();
    void finish(FormMove move);
    bool save();

    ProgramContext& m_context;
    Design m_design;
    WindowRequest m_request;
    Record m_record;
    Record m_original;
    QLineEdit* m_edit;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    DittoKey* m_ditto;
    FormToolBar* m_toolBar = nullptr;
    FormMove m_move = FormMove::None;
    WindowPlacer* m_placer = nullptr;
};

}  // namespace srk
