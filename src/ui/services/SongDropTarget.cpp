#include "ui/services/SongDropTarget.h"

#include "ui/services/DragPayload.h"

#include <QDropEvent>
#include <QPointer>
#include <QWidget>

namespace srk {

SongDropTarget::SongDropTarget(QWidget* viewport, std::function<bool()> accepts, std::function<void(qint64)> dropped)
    : QObject(viewport), m_accepts(std::move(accepts)), m_dropped(std::move(dropped)) {
    viewport->setAcceptDrops(true);
    viewport->installEventFilter(this);
}

bool SongDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (m_accepts() && dropValue(drag->mimeData(), kSongsDragId)) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<QString> value = dropValue(drop->mimeData(), kSongsDragId);
        bool ok = false;
        const qint64 id = value ? value->trimmed().toLongLong(&ok) : 0;
        if (!ok) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The drag's own loop is still running: hand the song over once it has ended.
        const QPointer<SongDropTarget> self(this);
        QMetaObject::invokeMethod(
            this, [self, id] { if (self) self->m_dropped(id); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace srk
