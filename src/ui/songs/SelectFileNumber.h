#pragma once

#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QDialog>

namespace srk {

struct ProgramContext;
class BrowseSongs;

// "Select File Number": the song list as a picker. The songs in six orders with the locator and thumb
// of the song browser; "&Select" (Enter, a double-click) returns the highlighted song.
class SelectFileNumber : public QDialog {
    Q_OBJECT
public:
    static const QString Procedure; // "SelectFileNumber"

    // On completed `song` holds the song chosen. Only the select request can choose.
    static WindowResponse select(ProgramContext& context, Record& song, QWidget* parent,
                                 WindowRequest request = WindowRequest::Select);

    SelectFileNumber(ProgramContext& context, WindowRequest request, QWidget* parent = nullptr);
    ~SelectFileNumber() override;

    BrowseSongs* browse() const { return m_browse; }
    const Record& chosen() const { return m_chosen; }

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    BrowseSongs* m_browse = nullptr;
    Record m_chosen;
};

} // namespace srk
