#include "albums/AddWizardRows.h"

#include "catalog/Tables.h"
#include "store/Table.h"

namespace srk {

namespace {
constexpr int kBatch = 256;
}

int readAddWizardRows(Store& store, qint64 instance, QVector<Record>& out) {
    Table rows(store, addWizardTable());
    Record probe(addWizardTable());
    probe.setNumber(AW::Instance, instance);
    probe.setNumber(AW::Track, Record::minOf(FieldKind::Dec2));
    KeyAnchor anchor = KeyAnchor::at(probe, AW::KeyInstance);
    for (;;) {
        QVector<Record> batch;
        const int rc = rows.fetch(AW::KeyInstance, anchor, true, kBatch, batch);
        if (rc == RecordNotAvailable)
            return NoError;
        if (rc != NoError)
            return rc;
        for (const Record& r : batch) {
            if (r.number(AW::Instance) != instance)
                return NoError;
            out << r;
        }
        if (batch.size() < kBatch)
            return NoError;
        anchor = KeyAnchor::after(batch.last(), AW::KeyInstance);
    }
}

SequenceTable addWizardSequence() {
    return {&addWizardTable(), AW::KeyInstance, {AW::Instance, AW::Track}};
}

}  // namespace srk
