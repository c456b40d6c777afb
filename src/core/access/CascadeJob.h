#pragma once

#include "access/StandardMessages.h"
#include "jobs/Job.h"
#include "store/Record.h"

#include <QString>
#include <QVariantList>
#include <QVector>

namespace srk {

class TableAccess;

// The child steps of a delete or update routine (the relations of the parent's table, in their order)
// carried out by the engine as set statements inside the routine's frame: a restriction is one query, a
// cascade one DELETE or UPDATE that bumps each row's change counter. Children are matched the way their
// key compares (letter case and trailing blanks ignored for text). A step over many rows goes in slices,
// so that a progress window can drive it while the frame keeps going. A failing step notes the standard message; the routine shows it after its rollback.
// A slice takes the first rows still matching, as a changed or deleted row leaves the set; only a rename
// in another letter case, whose rows keep matching, picks its rows into a temporary table first. When
// most of the table matches, the slices go through it in row order instead.
class CascadeJob : public Job {
public:
    // Steps for deleting parent: every restriction of the table and of the rows its cascades reach, then
    // the cascades' deletes (children before their parents).
    static CascadeJob forDelete(TableAccess& access, const TableDef& def, const Record& parent);
    // Steps for every linking value that differs between original and record. A restriction that
    // holds sets the linking field of record back to its original value.
    static CascadeJob forUpdate(TableAccess& access, const TableDef& def, Record& record, const Record& original);

    // Steps over more rows than this go in slices and ask for a progress window. A slice starts with as
    // many rows and grows or shrinks so that it takes about kSliceMs.
    static constexpr int kSliceRows = 5000;
    static constexpr int kSliceMs = 60;

    bool step() override;
    int percent() const override;

    // True once a step over many rows has started: the rest should run where the user can see it.
    bool wantsWindow() const { return m_wantsWindow; }
    // What the progress window says while the current step runs.
    QString textLine() const;
    bool failed() const { return m_failed; }
    bool succeeded() const { return m_next >= m_steps.size() && !failed() && !cancelled(); }
    // The standard message that tells why it failed, and its text 1.
    StdMsg message() const { return m_message; }
    const QString& messageText() const { return m_text1; }
    // Rows the steps changed or deleted.
    qint64 rowsTouched() const { return m_touched; }

private:
    struct Step {
        enum Kind { Check, Delete, Update };
        Kind kind = Check;
        const TableDef* table = nullptr;
        QString where;  // over the child's own columns
        QVariantList binds;
        StdMsg message = StdMsg::DeleteError;  // shown when a check finds a child, or when the statement fails
        int field = -1;   // update: the child's linking field and its new value
        QVariant value;
        int resetField = -1;  // restricted update: the parent's field and its old value
        QVariant resetValue;
    };

    explicit CascadeJob(TableAccess& access) : m_access(&access) {}
    // Adds the checks of the rows matching where to the steps, their deletes to deletes.
    void addDeleteSteps(const TableDef& def, const QString& where, const QVariantList& binds, QVector<Step>& deletes);
    bool run(Step& s);
    bool runSlice(Step& s);
    bool exec(const QByteArray& sql, const QVariantList& binds, bool* row = nullptr, qint64* value = nullptr);
    bool fail(const Step& s, StdMsg message, bool withError);
    static QString schemaOf(const TableDef& def);

    TableAccess* m_access;
    Record* m_record = nullptr;  // the parent an update resets
    QVector<Step> m_steps;
    qsizetype m_next = 0;
    // The step running in slices: its rows, those done, and (for picked rows) where the next slice starts.
    bool m_slicing = false;
    qint64 m_sliceTotal = 0;
    qint64 m_sliceDone = 0;
    qint64 m_lastRow = 0;
    bool m_picked = false;  // the rows were picked beforehand (they keep matching while changed)
    // Most of the table matches: the slices walk it in row order (rowids up to m_lastTableRow), so each
    // page is rewritten once instead of being visited in key order again and again.
    bool m_ranges = false;
    qint64 m_lastTableRow = 0;
    int m_sliceRows = kSliceRows;
    bool m_wantsWindow = false;
    qint64 m_touched = 0;
    QString m_file;  // the file of the step running, for the error shown
    bool m_failed = false;
    StdMsg m_message = StdMsg::DeleteError;
    QString m_text1;
};

}  // namespace srk
