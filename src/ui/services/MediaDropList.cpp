#include "ui/services/MediaDropList.h"

#include "songs/SongChecks.h"

#include <QLineEdit>

namespace srk {

MediaDropList::MediaDropList(TableAccess& access, QWidget* parent)
    : QComboBox(parent), m_access(access), m_media(loadMediaList(access)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(m_media);
    lineEdit()->setMaxLength(20);
}

void MediaDropList::showMedia(const QString& media) {
    setEditText(media.trimmed().isEmpty() && !m_media.isEmpty() ? m_media.first() : media);
}

bool MediaDropList::accept() {
    QString media = currentText();
    const bool ok = checkMedia(m_access, m_media, media);
    setEditText(media);
    return ok;
}

}  // namespace srk
