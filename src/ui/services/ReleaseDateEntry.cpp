#include "ui/services/ReleaseDateEntry.h"

#include "access/TableAccess.h"
#include "text/DayNumber.h"
#include "text/ReleaseDate.h"
#include "text/TypedEntry.h"

namespace srk {

ReleaseDateEntry::ReleaseDateEntry(const QString& picture, QWidget* parent) : QLineEdit(parent), m_picture(picture) {
    setMaxLength(30);
}

void ReleaseDateEntry::showValue(qint64 value) {
    m_shown = value ? formatReleaseDate(value, m_picture) : QString();
    setText(m_shown);
}

bool ReleaseDateEntry::accept(TableAccess& access) {
    if (text() == m_shown || readReleaseDate(text(), m_picture))
        return true;
    access.ask({dateEntryTitle(), dateEntryText(text(), m_picture, true), ButtonOk, ButtonOk});
    return false;
}

qint64 ReleaseDateEntry::value(qint64 stored) const {
    if (text() == m_shown)
        return stored;
    return readReleaseDate(text(), m_picture).value_or(kNoDate);
}

}  // namespace srk
