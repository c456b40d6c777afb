#pragma once

#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace srk {

struct ProgramContext;
class DittoKey;
class WindowPlacer;

// The form of one wizard track row: UpdateAddWizardNoArtist (title, time, track) for the single-artist
// wizard, UpdateAddWizard (with the track's artist) for the compilation wizard.
class UpdateAddWizard : public QDialog {
    Q_OBJECT
public:
    enum class Variant { NoArtist, WithArtist };

    // The whole call on the row: insert (a placeholder row under the next track, taken away again on
    // cancel), change or delete. Returns "OK" when the user completed it, otherwise "Cancel"; row then
    // holds the row as saved.
    static QString run(ProgramContext& context, Variant variant, WindowRequest request, Record& row,
                       QWidget* parent);

    UpdateAddWizard(ProgramContext& context, Variant variant, WindowRequest request, const Record& row,
                    QWidget* parent = nullptr);

    static QString procedureName(Variant variant);

    const Record& row() const { return m_row; }
    QLineEdit* titleEdit() const { return m_title; }
    QLineEdit* timeEdit() const { return m_time; }
    QLineEdit* trackEdit() const { return m_track; }
    QLineEdit* artistEdit() const { return m_artist; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    void done(int result) override;

private:
    void finish();
    void showRow();
    bool collect();

    ProgramContext& m_context;
    Variant m_variant;
    WindowRequest m_request;
    Record m_row;
    Record m_original;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_time = nullptr;
    QLineEdit* m_track = nullptr;
    QLineEdit* m_artist = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QString m_shownTime;
    DittoKey* m_ditto = nullptr;
    WindowPlacer* m_placer = nullptr;
};

}  // namespace srk
