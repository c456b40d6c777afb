#include "access/RecordRoutines.h"

#include "access/Relations.h"
#include "access/TableUse.h"
#include "store/FoldCollation.h"
#include "store/Table.h"

namespace srk {

namespace {

// Carries out the child steps of the relations. A failing step only notes its message; the routine shows
// it after the rollback, so that no lock is held while the user reads it.
class ChildSteps {
public:
    explicit ChildSteps(TableAccess& access) : m_access(access), m_store(access.store()) {}

    bool fail(int message, const QString& text1, bool withError) {
        if (withError)
            m_access.saveError();
        m_message = message;
        m_text1 = text1;
        return false;
    }
    void showFailure() {
        if (m_message)
            m_access.showStandardMessage(m_message, m_text1);
    }

    bool deleteChildren(const TableDef& def, const Record& parent) {
        for (const Relation& rel : relationsOf(def)) {
            const QVariant value = parent.value(rel.parentField);
            bool ok = true;
            switch (rel.onDelete) {
            case Relation::None:
                break;
            case Relation::Restrict:
                ok = forEachChild(rel, value,
                                  [&](Table&, Record&) { return fail(13, rel.child->label, false); });
                break;
            case Relation::Cascade:
                ok = forEachChild(rel, value, [&](Table& table, Record& child) {
                    // A child passes its own relations (a song its playlist restriction) before it goes.
                    if (!deleteChildren(*rel.child, child))
                        return false;
                    if (table.remove(child))
                        return fail(17, rel.child->label, true);
                    return true;
                });
                break;
            }
            if (!ok)
                return false;
        }
        return true;
    }

    bool updateChildren(const TableDef& def, Record& record, const Record& original) {
        for (const Relation& rel : relationsOf(def)) {
            if (rel.onUpdate == Relation::None)
                continue;
            const QVariant before = original.value(rel.parentField);
            const QVariant after = record.value(rel.parentField);
            if (sameValue(*rel.parent, rel.parentField, before, after))
                continue;
            bool ok = true;
            if (rel.onUpdate == Relation::Restrict) {
                ok = forEachChild(rel, before, [&](Table&, Record&) {
                    record.setValue(rel.parentField, before);
                    return fail(12, rel.child->label, false);
                });
            } else {
                ok = forEachChild(rel, before, [&](Table& table, Record& child) {
                    child.setValue(rel.childField, after);
                    if (table.put(child))
                        return fail(15, rel.child->label, true);
                    return true;
                });
            }
            if (!ok)
                return false;
        }
        return true;
    }

private:
    // Exact comparison: text with its letter case, whatever the key thinks.
    static bool sameValue(const TableDef& def, int field, const QVariant& a, const QVariant& b) {
        if (isTextKind(def.fields[field].kind))
            return a.toString() == b.toString();
        return a.toLongLong() == b.toLongLong();
    }

    // Positions the child key at value with its later components at their lowest and reads forward while
    // the linking field still holds value. The key ignores letter case, so records whose value differs only
    // in case sit in the same stretch, in any order: the walk passes over them and acts on exact matches
    // only, so that what is touched never depends on the order the records were added in.
    template <typename Step> bool forEachChild(const Relation& rel, const QVariant& value, Step step) {
        const TableDef& child = *rel.child;
        Record probe(child);
        const QVector<int>& components = child.keys[rel.childKey].components;
        for (int c : components)
            if (!isTextKind(child.fields[c].kind))
                probe.setNumber(c, Record::minOf(child.fields[c].kind));
        probe.setValue(rel.childField, value);
        const QVariant wanted = probe.value(rel.childField);

        Table table(m_store, child);
        table.setAt(rel.childKey, probe);
        Record r;
        for (;;) {
            const int rc = table.next(r);
            if (rc == RecordNotAvailable)
                return true;
            if (rc)
                return fail(35, child.label, true);
            const QVariant found = r.value(rel.childField);
            if (sameValue(child, rel.childField, found, wanted)) {
                if (!step(table, r))
                    return false;
            } else if (!isTextKind(child.fields[rel.childField].kind) ||
                       compareFolded(found.toString(), wanted.toString()) != 0) {
                return true;
            }
        }
    }

    TableAccess& m_access;
    Store& m_store;
    int m_message = 0;
    QString m_text1;
};

bool openAll(TableUse& use, const TableDef& def) {
    for (const TableDef* t : tablesReachedFrom(def))
        if (!use.open(*t))
            return false;
    return true;
}

} // namespace

int deleteRecord(TableAccess& access, const TableDef& def, const Record& record) {
    TableUse use(access);
    if (!openAll(use, def))
        return 1;
    Store& store = access.store();
    if (store.logout(2000)) {
        access.showStandardMessage(34, QStringLiteral("Delete"), def.label);
        return 1;
    }
    ChildSteps steps(access);
    Table table(store, def);
    Record current;
    bool ok = true;
    if (table.getByPosition(table.position(record), current))
        ok = steps.fail(35, def.label, true);
    else if (!steps.deleteChildren(def, current))
        ok = false;
    else if (table.remove(current))
        ok = steps.fail(17, def.label, true);
    if (!ok) {
        store.rollback();
        steps.showFailure();
        return 1;
    }
    if (store.commit()) {
        // The store has rolled the frame back already.
        access.showStandardMessage(17, def.label);
        return 1;
    }
    return 0;
}

int updateRecord(TableAccess& access, const TableDef& def, Record& record, const Record& original,
                 bool showChanges) {
    TableUse use(access);
    if (!openAll(use, def))
        return 1;
    Store& store = access.store();
    if (store.logout(2000)) {
        access.showStandardMessage(34, QStringLiteral("Update"), def.label);
        return 1;
    }
    Table table(store, def);
    const QString position = table.position(record);
    const qint64 readCount = record.changeCount();
    {
        // Check the put against the change counter the record carries from when it was read.
        Record current;
        table.watch();
        table.getByPosition(position, current);
    }
    const int rc = table.put(record);
    if (rc == ChangedByAnotherStation) {
        access.saveError();
        store.rollback();
        if (showChanges)
            access.showStandardMessage(38);
        else
            access.showStandardMessage(15, QStringLiteral("Record Changed by Another Station"));
        table.watch();
        table.getByPosition(position, record);
        return 2;
    }
    if (rc) {
        access.saveError();
        store.rollback();
        access.showStandardMessage(15, def.label);
        return 1;
    }
    ChildSteps steps(access);
    if (!steps.updateChildren(def, record, original)) {
        record.setChangeCount(readCount);
        store.rollback();
        steps.showFailure();
        return 1;
    }
    if (store.commit()) {
        record.setChangeCount(readCount);
        access.showStandardMessage(15, def.label);
        return 1;
    }
    return 0;
}

bool confirmDelete(TableAccess& access) {
    return access.showStandardMessage(32) == ButtonOk;
}

int deleteWithRetry(TableAccess& access, const TableDef& def, const Record& record) {
    for (;;) {
        if (deleteRecord(access, def, record) == 0)
            return 0;
        if (!access.stopRequested().isEmpty() || access.showStandardMessage(18) != ButtonYes)
            return 1;
    }
}

UpdateOutcome updateWithRetry(TableAccess& access, const TableDef& def, Record& record,
                              const Record& original, bool showChanges) {
    if (record.sameValues(original))
        return UpdateOutcome::Saved;
    for (;;) {
        const int rc = updateRecord(access, def, record, original, showChanges);
        if (rc == 0)
            return UpdateOutcome::Saved;
        if (rc == 2)
            return UpdateOutcome::Refreshed;
        if (!access.stopRequested().isEmpty())
            return UpdateOutcome::LeaveUnsaved;
        const int answer = access.showStandardMessage(16);
        if (answer == ButtonYes)
            continue;
        return answer == ButtonNo ? UpdateOutcome::LeaveUnsaved : UpdateOutcome::StayInForm;
    }
}

} // namespace srk
