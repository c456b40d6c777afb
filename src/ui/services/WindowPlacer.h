#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QWidget;

namespace srk {

class IniFile;

// Every window's placement: put back where it was left when it is first shown, saved when the window
// is released, under its procedure name in the position file. What is placed is the window's frame in
// the workspace (its sub-window) or, for a widget inside a dialog, that dialog. Positions are the
// window's own area without the window system's frame, both ways, so that a window opened and closed
// again and again stays where it is; a saved placement is kept on the screens (or the workspace) present.
class WindowPlacer : public QObject {
    Q_OBJECT
public:
    WindowPlacer(QWidget* window, IniFile& positions, const QString& procedureName);

    // Places the window now (instead of at its first show: the frame is placed before it is shown).
    void restore();
    // Saves the placement, when the window was placed.
    void save();
    bool placed() const { return m_placed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* target() const;
    void follow(QWidget* target);

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_followed;
    IniFile& m_positions;
    QString m_name;
    QRect m_normal; // the last geometry out of the maximized and minimized states
    bool m_placed = false;
};

} // namespace srk
