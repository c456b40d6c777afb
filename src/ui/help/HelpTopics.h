#pragma once

// The pages of the program's help and the window topics that lead to them.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace srk {

// Registers the help pages with Qt's resource system; needed once before the first page is read,
// since they are linked in from a static library. Safe to call more than once.
void initHelpResources();

// The page names ("songs.html") in the order the contents list shows them.
const QStringList& helpContentsPages();

inline QString helpContentsPage() { return QStringLiteral("contents.html"); }
inline QString helpOnHelpPage() { return QStringLiteral("how-to-use-help.html"); }

// "qrc:/help/songs.html" for "songs.html".
QUrl helpPageUrl(const QString& page);

// The page's HTML; empty when there is no such page.
QString helpPageHtml(const QString& page);

// The page that explains a window, given its procedure name ("BrowseSongs", "UpdateAlbums") or a
// page name ("songs.html", "songs"). Unknown topics lead to the contents page. Windows use it for F1.
QUrl helpPageFor(const QString& topic);

}  // namespace srk
