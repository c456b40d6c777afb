#include "ui/services/StepLocator.h"

#include "store/PageCursor.h"
#include "ui/services/PageModel.h"

#include <QKeyEvent>

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

std::optional<QString> locatorLetter(const QKeyEvent* key) {
    const QString text = key->text();
    if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || text.size() != 1 || !text[0].isPrint() ||
        text[0].isSpace())
        return std::nullopt;
    return text;
}

} // namespace srk
