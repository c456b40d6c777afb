#pragma once

#include <QTimer>
#include <QWidget>

namespace srk {

// The start-up picture with the version. It closes after a second, on a click, or when the frame
// tells it to (the user chose a menu entry); closed() is emitted once, whichever came first.
class Splash : public QWidget {
    Q_OBJECT
public:
    explicit Splash(QWidget* parent = nullptr);
    bool isOpen() const { return m_open; }

public Q_SLOTS:
    void finish();

Q_SIGNALS:
    void closed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
    bool m_open = true;
};

}  // namespace srk
