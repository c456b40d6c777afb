#include "ui/services/ScaledImage.h"

#include <QPainter>

namespace srk {

ScaledImage::ScaledImage(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScaledImage::showFile(const QString& fileName) {
    m_image = fileName.trimmed().isEmpty() ? QPixmap() : QPixmap(fileName.trimmed());
    update();
}

QRect ScaledImage::shownRect() const {
    if (m_image.isNull() || width() <= 0 || height() <= 0)
        return QRect();
    const QSize fitted = m_image.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

QSize ScaledImage::sizeHint() const {
    return QSize(160, 120);
}

void ScaledImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect target = shownRect();
    if (!target.isEmpty())
        painter.drawPixmap(target, m_image);
}

}  // namespace srk
