#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace srk {

// Lets a list take "Songs" drags on its viewport: while accepts() holds, a drop hands the song's ID to
// dropped() once the drag's own loop has ended. Owned by the viewport.
class SongDropTarget : public QObject {
public:
    SongDropTarget(QWidget* viewport, std::function<bool()> accepts, std::function<void(qint64)> dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> m_accepts;
    std::function<void(qint64)> m_dropped;
};

} // namespace srk
