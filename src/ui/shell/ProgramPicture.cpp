#include "ui/shell/ProgramPicture.h"

#include <QPainter>
#include <QSvgRenderer>

// Q_INIT_RESOURCE declares a function of the global namespace, so it cannot be called inside srk.
static void registerPictureResource() {
    Q_INIT_RESOURCE(resources);
}

namespace srk {

void initPictureResources() {
    static const bool registered = (registerPictureResource(), true);
    Q_UNUSED(registered);
}

QPixmap programPicture(const QSize& size, qreal devicePixelRatio) {
    initPictureResources();
    QSvgRenderer renderer(programPicturePath());
    if (!renderer.isValid() || size.isEmpty())
        return QPixmap();
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

}  // namespace srk
