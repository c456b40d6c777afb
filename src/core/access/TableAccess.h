#pragma once

#include "access/DittoCopy.h"
#include "access/MessageService.h"
#include "access/StandardMessages.h"
#include "access/TableChanges.h"
#include "store/ErrorCode.h"
#include "store/Store.h"
#include "store/TableDef.h"
#include "jobs/JobRunner.h"

#include <QHash>
#include <QString>

namespace srk {

// What a guarded open came to. The core cannot end the program: when fatal is set the caller stops
// with stopText after the message was shown.
struct AccessResult {
    int code = NoError; // the store's last error code when the open failed
    bool fatal = false;
    QString stopText;
    bool ok() const { return !fatal && (code == NoError || code == FileAlreadyOpen); }
};

// The program's way to the tables: guarded opens, use counts, the saved error and the standard
// messages. One per program run; it does not own the store or the message service.
class TableAccess {
public:
    TableAccess(Store& store, MessageService& messages);

    Store& store() const { return *m_store; }
    MessageService& messages() const { return *m_messages; }
    DittoCopy& ditto() { return m_ditto; }
    // Which tables this process (or, once checked, another one) has changed: open lists follow it.
    TableChanges& changes() { return m_changes; }
    // Looks for commits by other stations to the open tables; they are reported through changes().
    int checkOtherStations();

    // Drives the long steps of the record routines (a progress window in the program); without one
    // they run to their end at once.
    void setJobRunner(JobRunner* runner) { m_runner = runner; }
    bool runJob(Job& job, const QString& title, const QString& textLine);

    // Raises the table's use count; when it was 0 the file is opened, created, repaired or upgraded
    // as needed. The count is raised even when the open fails.
    AccessResult openTable(const TableDef& def);
    // Lowers the use count; at 0 the file is closed.
    void closeTable(const TableDef& def);
    int useCount(const TableDef& def) const { return m_useCounts.value(def.label); }
    // Set once any open (also one made inside a routine) failed in a way that must end the program:
    // the text to stop with. The program checks it after a routine returns.
    const QString& stopRequested() const { return m_stopText; }

    // Keeps the store's current error for the next standard message (taken before a rollback).
    void saveError();
    bool hasSavedError() const { return m_saved.isError(); }
    const StoreError& savedError() const { return m_saved; }
    // The saved error when there is one, else the store's current one.
    const StoreError& currentError() const;

    // Shows message number of the catalogue and returns the button pressed. The error shown is the
    // saved one (which is then cleared) or the store's current error.
    int showStandardMessage(StdMsg number, const QString& text1 = QString(), const QString& text2 = QString());
    int ask(const Message& message) { return m_messages->ask(message); }

private:
    AccessResult guardedOpen(const TableDef& def);
    AccessResult stop(StdMsg message, const QString& text1);

    Store* m_store;
    MessageService* m_messages;
    QHash<QString, int> m_useCounts;
    QHash<QString, const TableDef*> m_defs;  // by label, every table opened once
    TableChanges m_changes;
    JobRunner* m_runner = nullptr;
    StoreError m_saved;
    QString m_stopText;
    DittoCopy m_ditto;
};

} // namespace srk
