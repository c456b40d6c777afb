#include "ui/services/StepLocator.h"

#include "store/PageCursor.h"
#include "ui/services/PageModel.h"

namespace srk {

namespace {

bool beginsWith(const PageCursor& cursor, int field, const QString& letter) {
    const PageRow* row = cursor.highlightedRow();
    if (!row)
        return false;
    const QString text = row->primary().text(field);
    return !text.isEmpty() && text.left(1).toUpper() == letter.toUpper();
}

} // namespace

void stepLocate(PageModel& model, int field, const QString& letter) {
    const PageCursor& cursor = model.cursor();
    if (beginsWith(cursor, field, letter)) {
        const PageRow* before = cursor.highlightedRow();
        const qint64 was = before ? before->rowId() : 0;
        model.lineDown();
        const PageRow* now = cursor.highlightedRow();
        // On the last record there is no row below: start over as if the next one began otherwise.
        if (now && now->rowId() != was && beginsWith(cursor, field, letter))
            return;
    }
    Record target(cursor.primary());
    target.setText(field, letter);
    model.rebuildAt(target);
}

} // namespace srk
