#include "ui/help/HelpTopics.h"

#include <QFile>
#include <QHash>

// Q_INIT_RESOURCE declares a function of the global namespace, so it cannot be called inside srk.
static void registerHelpResource() {
    Q_INIT_RESOURCE(help);
}

namespace srk {

void initHelpResources() {
    static const bool registered = (registerHelpResource(), true);
    Q_UNUSED(registered);
}

const QStringList& helpContentsPages() {
    static const QStringList pages{
        QStringLiteral("contents.html"),     QStringLiteral("getting-started.html"),
        QStringLiteral("songs.html"),        QStringLiteral("albums.html"),
        QStringLiteral("categories-media.html"), QStringLiteral("playlists.html"),
        QStringLiteral("labels.html"),       QStringLiteral("reports.html"),
        QStringLiteral("import-export.html"), QStringLiteral("cd-player.html"),
        QStringLiteral("preferences.html"),  QStringLiteral("data-files.html"),
        QStringLiteral("keyboard.html"),     QStringLiteral("how-to-use-help.html"),
    };
    return pages;
}

QUrl helpPageUrl(const QString& page) {
    return QUrl(QStringLiteral("qrc:/help/") + page);
}

QString helpPageHtml(const QString& page) {
    initHelpResources();
    QFile file(QStringLiteral(":/help/") + page);
    if (page.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QUrl helpPageFor(const QString& topic) {
    // Window procedure names, folded to lower case, and the page that explains each.
    static const QHash<QString, QString> windows = [] {
        const QHash<QString, QStringList> byPage{
            {QStringLiteral("songs.html"),
             {QStringLiteral("BrowseSongs"), QStringLiteral("UpdateSong"), QStringLiteral("XploreSongs"),
              QStringLiteral("SelectAddType"), QStringLiteral("SelectFileNumber"),
              QStringLiteral("XploreFormatBrowseBox"), QStringLiteral("XploreProcReformat")}},
            {QStringLiteral("albums.html"),
             {QStringLiteral("BrowseAlbums"), QStringLiteral("UpdateAlbums"), QStringLiteral("XploreAlbums"),
              QStringLiteral("UpdateSongsForAlbum"), QStringLiteral("SelectAlbum"),
              QStringLiteral("AddSingleArtist"), QStringLiteral("AddCompilation"),
              QStringLiteral("UpdateAddWizard"), QStringLiteral("UpdateAddWizardNoArtist")}},
            {QStringLiteral("categories-media.html"),
             {QStringLiteral("BrowseCategories"), QStringLiteral("UpdateCategories"), QStringLiteral("BrowseMedia"),
              QStringLiteral("UpdateMedia")}},
            {QStringLiteral("playlists.html"),
             {QStringLiteral("BrowsePlaylists"), QStringLiteral("UpdatePlaylist"),
              QStringLiteral("UpdatePlaylistDetails"), QStringLiteral("GeneratePlaylist")}},
            {QStringLiteral("labels.html"),
             {QStringLiteral("BrowseLabels"), QStringLiteral("UpdateLabels"), QStringLiteral("LabelWizard"),
              QStringLiteral("SelectFont"), QStringLiteral("UpdateFonts"), QStringLiteral("UpdateFontFreeform")}},
            {QStringLiteral("reports.html"),
             {QStringLiteral("ReportCriteria"), QStringLiteral("CDBinderPages"), QStringLiteral("PrintDJList")}},
            {QStringLiteral("import-export.html"), {QStringLiteral("Import"), QStringLiteral("Export")}},
            {QStringLiteral("cd-player.html"), {QStringLiteral("IntegratedCDPlayer"), QStringLiteral("CDSetup")}},
            {QStringLiteral("preferences.html"), {QStringLiteral("Setup"), QStringLiteral("SetupWizard")}},
            {QStringLiteral("getting-started.html"), {QStringLiteral("Main"), QStringLiteral("Splash")}},
        };
        QHash<QString, QString> map;
        for (auto it = byPage.cbegin(); it != byPage.cend(); ++it) {
            for (const QString& window : it.value())
                map.insert(window.toLower(), it.key());
        }
        return map;
    }();

    const QString key = topic.trimmed().toLower();
    const QString page = windows.value(key);
    if (!page.isEmpty())
        return helpPageUrl(page);
    // Every report procedure is named Print...
    if (key.startsWith(QStringLiteral("print")))
        return helpPageUrl(QStringLiteral("reports.html"));
    for (const QString& candidate : helpContentsPages()) {
        if (candidate == key || candidate == key + QStringLiteral(".html"))
            return helpPageUrl(candidate);
    }
    return helpPageUrl(helpContentsPage());
}

}  // namespace srk
