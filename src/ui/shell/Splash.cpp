#include "ui/shell/Splash.h"

#include "ProgramVersion.h"
#include "ui/shell/ProgramPicture.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace srk {

Splash::Splash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SPLASH$WINDOW"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(460, 260);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_timer.setSingleShot(true);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &Splash::finish);
    m_timer.start();
}

void Splash::finish() {
    if (!m_open)
        return;
    m_open = false;
    m_timer.stop();
    close();
    Q_EMIT closed();
}

void Splash::mousePressEvent(QMouseEvent* event) {
    event->accept();
    finish();
}

void Splash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x1d, 0x2b, 0x4f));
    sky.setColorAt(1, QColor(0x3a, 0x5a, 0x9a));
    p.fillRect(rect(), sky);
    const QPixmap picture = programPicture(QSize(170, 170), devicePixelRatioF());
    if (!picture.isNull())
        p.drawPixmap(24, 45, picture);
    p.setPen(QColor(0xff, 0xd5, 0x4a));
    QFont title(QStringLiteral("Liberation Sans"), 30, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(205, 60, 250, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Sonorika"));
    title.setItalic(true);
    title.setBold(false);
    title.setPointSize(24);
    p.setFont(title);
    p.setPen(QColor(0xf4, 0xf4, 0xf4));
    p.drawText(QRect(205, 105, 250, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pro 97"));
    QFont small(QStringLiteral("Liberation Sans"), 11);
    p.setFont(small);
    p.drawText(QRect(205, 160, 250, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version ") + programVersion().left(40));
    p.setPen(QColor(0xb8, 0xc8, 0xe8));
    p.drawText(QRect(205, 186, 250, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("The music collection catalogue"));
    p.setPen(QColor(0x10, 0x18, 0x30));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace srk
