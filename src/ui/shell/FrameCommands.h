#pragma once

#include <QString>
#include <QVector>

namespace srk {

// One entry of the frame's menu bar or a submenu. A command names the procedure it starts; entries
// that follow the interface preference name both procedures.
struct FrameMenuEntry {
    enum Kind { Command, Submenu, EndSubmenu, Separator };
    Kind kind = Command;
    QString text;
    QString tip;
    QString procedure;          // what it starts
    QString explorerProcedure;  // what it starts under the "Explorer" interface, when different
};

struct FrameMenu {
    QString title;
    QVector<FrameMenuEntry> entries;
};

// Frame-own commands that start no window procedure.
namespace FrameCommand {
inline const QString PrintSetup = QStringLiteral("PrintSetup");
inline const QString Exit = QStringLiteral("Exit");
inline const QString Cut = QStringLiteral("Cut");
inline const QString Copy = QStringLiteral("Copy");
inline const QString Paste = QStringLiteral("Paste");
inline const QString Tile = QStringLiteral("Tile");
inline const QString Cascade = QStringLiteral("Cascade");
inline const QString ArrangeIcons = QStringLiteral("ArrangeIcons");
inline const QString HelpContents = QStringLiteral("HelpContents");
inline const QString HelpSearch = QStringLiteral("HelpSearch");
inline const QString HelpOnHelp = QStringLiteral("HelpOnHelp");
inline const QString About = QStringLiteral("AboutSRK");
}  // namespace FrameCommand

// The whole menu bar, in order.
QVector<FrameMenu> frameMenus();

// The tool bar buttons, left to right (the picture follows them).
struct FrameToolButton {
    QString text;
    QString icon;  // resource path
    QString procedure;
    QString explorerProcedure;
};
QVector<FrameToolButton> frameToolButtons();

}  // namespace srk
