#include "ReportCommand.h"

#include "access/ConsoleMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "query/QueryParser.h"
#include "reports/PageCountMarker.h"
#include "reports/PlaylistPrintouts.h"
#include "reports/ReportCriteria.h"
#include "reports/ReportJob.h"
#include "reports/ReportMember.h"
#include "reports/ReportPageList.h"
#include "settings/IniFile.h"
#include "settings/Preferences.h"
#include "settings/SettingsPaths.h"
#include "store/Store.h"
#include "store/Table.h"

#ifdef SONORIKA_HAVE_RENDER
#include "render/PageRenderer.h"
#include <QGuiApplication>
#endif

#include <cstdio>

using namespace srk;

namespace {

void say(const QString& text) { std::fputs(qPrintable(text + QLatin1Char('\n')), stdout); }
void complain(const QString& text) { std::fputs(qPrintable(QStringLiteral("sonorika-cli: ") + text + QLatin1Char('\n')), stderr); }

int usage(const QString& text) {
    complain(text);
    std::fputs("usage: sonorika-cli report MEMBER --pdf OUT.pdf [--style brief] [--selected PREFIX]\n"
               "                          [--category NAME] [--album ID] [--playlist ID] [--filter EXPR]\n"
               "       sonorika-cli report --list\n",
               stderr);
    return 2;
}

// A text progress bar on standard error, redrawn when the percentage changes.
void showProgress(int percent) {
    const int filled = percent / 5;
    std::fprintf(stderr, "\r[%s%s] %3d%% Completed", std::string(filled, '#').c_str(),
                 std::string(20 - filled, ' ').c_str(), percent);
    std::fflush(stderr);
}

// The category of that name, whatever its case; `stored` is its name as the table spells it.
bool findCategory(Store& store, const QString& name, qint64& id, QString& stored) {
    Table table(store, categoriesTable());
    Record r;
    if (table.setStart(CAT::KeyCategory) != NoError)
        return false;
    while (table.next(r) == NoError)
        if (r.text(CAT::Category).compare(name.trimmed(), Qt::CaseInsensitive) == 0) {
            id = r.number(CAT::CategoryID);
            stored = r.text(CAT::Category);
            return true;
        }
    return false;
}

}  // namespace

std::unique_ptr<QCoreApplication> makeCliApplication(int& argc, char** argv) {
#ifdef SONORIKA_HAVE_RENDER
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "report") == 0) {
            // Painting needs a platform; the command line never shows a window.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            // Only the program's name: the GUI application would take "--style" and others for its own.
            static int guiArgc = 1;
            return std::make_unique<QGuiApplication>(guiArgc, argv);
        }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

int commandReport(const QString& dataFolder, const QStringList& args) {
    if (args == QStringList{QStringLiteral("--list")}) {
        for (const ReportMember& m : reportMembers())
            say(QStringLiteral("%1\t%2%3").arg(m.name, m.title, m.isBrief() ? QStringLiteral(" (brief)") : QString()));
        for (const ReportMember& m : playlistPrintouts())
            say(QStringLiteral("%1\t%2").arg(m.name, m.title));
        return 0;
    }
    QString memberName, pdf, style, category, filter, albumText, playlist;
    bool selected = false;
    QString selection;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        bool ok = true;
        if (a == QLatin1String("--pdf"))
            ok = value(pdf);
        else if (a == QLatin1String("--style"))
            ok = value(style);
        else if (a == QLatin1String("--selected")) {
            ok = value(selection);
            selected = true;
        } else if (a == QLatin1String("--category"))
            ok = value(category);
        else if (a == QLatin1String("--album"))
            ok = value(albumText);
        else if (a == QLatin1String("--playlist"))
            ok = value(playlist);
        else if (a == QLatin1String("--filter"))
            ok = value(filter);
        else if (a.startsWith(QLatin1String("--")))
            return usage(QStringLiteral("unknown option '%1'").arg(a));
        else if (memberName.isEmpty())
            memberName = a;
        else
            return usage(QStringLiteral("only one report at a time ('%1')").arg(a));
        if (!ok)
            return usage(QStringLiteral("'%1' needs a value").arg(a));
    }
    if (memberName.isEmpty())
        return usage(QStringLiteral("report needs a MEMBER (see 'report --list')"));
    const ReportMember* member = reportMember(memberName);
    if (!member)
        return usage(QStringLiteral("no report named '%1' (see 'report --list')").arg(memberName));
    if (pdf.isEmpty())
        return usage(QStringLiteral("report needs --pdf OUT.pdf"));
    if (!playlist.isEmpty() && member->driver != ReportMember::Driver::PlaylistLines)
        return usage(QStringLiteral("--playlist is for PrintPlaylist and PrintPlaylistTop40"));
    if (!style.isEmpty() && style.compare(QLatin1String("brief"), Qt::CaseInsensitive) != 0 &&
        style.compare(QLatin1String("standard"), Qt::CaseInsensitive) != 0)
        return usage(QStringLiteral("--style is 'standard' or 'brief'"));
    if (selection.size() > 30)
        return usage(QStringLiteral("--selected takes at most 30 characters"));
    if (!filter.isEmpty()) {
        const ParsedQuery parsed = parseQuery(filter);
        if (!parsed.ok())
            return usage(QStringLiteral("--filter: %1").arg(parsed.error));
    }
#ifndef SONORIKA_HAVE_RENDER
    complain(QStringLiteral("this build cannot write PDF files"));
    return 1;
#else
    // The criteria as the criteria window would leave them.
    ReportCriteria& criteria = reportCriteria();
    criteria.ReportStyle = style.compare(QLatin1String("brief"), Qt::CaseInsensitive) == 0 ? QStringLiteral("Brief")
                                                                                          : QStringLiteral("Standard");
    criteria.SelectedOrAll = selected ? QStringLiteral("Selected") : QStringLiteral("All");
    criteria.ReportSelection = selection;
    const ReportMember& chosen = criteria.brief() ? briefOf(*member) : *member;

    ReportRequest request;
    request.member = &chosen;
    request.criteria = criteria;
    request.filterText = filter;
    request.logoFile = printoutLogoFile(QString(), dataFolder);
    const FolderResult config = resolveConfigFolder();
    if (config.ok()) {
        const IniFile ini(preferencesFilePath(config.path));
        const Preferences prefs = Preferences::load(ini);
        request.datePreference = prefs.DateFormat;
        request.udkLabel = prefs.UDKPrompt;
        request.notesLabel = prefs.NotesLabel;
        request.logoFile = printoutLogoFile(prefs.Logo, dataFolder);
    }

    Store store(dataFolder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : {&songsTable(), &albumTable(), &categoriesTable()}) {
        const AccessResult opened = access.openTable(*def);
        if (!opened.ok()) {
            complain(QStringLiteral("cannot open %1: %2")
                         .arg(def->label, opened.stopText.isEmpty() ? store.lastError().displayText() : opened.stopText));
            return 1;
        }
    }
    if (chosen.byCategory) {
        if (category.isEmpty())
            return usage(QStringLiteral("%1 needs --category NAME").arg(chosen.name));
        QString stored;
        if (!findCategory(store, category, request.categoryId, stored)) {
            complain(QStringLiteral("no category named '%1'").arg(category));
            return 1;
        }
        request.title = QStringLiteral("Music in %1 Category").arg(stored.trimmed()).left(80);
    }
    if (chosen.driver == ReportMember::Driver::PlaylistLines) {
        bool ok = false;
        request.playlistId = playlist.toLongLong(&ok);
        if (!ok || request.playlistId <= 0)
            return usage(QStringLiteral("%1 needs --playlist ID (a number)").arg(chosen.name));
        // Printing the chart closes up its running order.
        const AccessResult opened = access.openTable(playlistDetailsTable());
        if (!opened.ok() || !access.openTable(playlistMasterTable()).ok()) {
            complain(QStringLiteral("cannot open the playlists: %1").arg(store.lastError().displayText()));
            return 1;
        }
    }
    if (chosen.oneAlbum) {
        bool ok = false;
        request.albumId = albumText.toLongLong(&ok);
        if (!ok || request.albumId <= 0)
            return usage(QStringLiteral("%1 needs --album ID (a number)").arg(chosen.name));
    }

    // Folders of runs that died midway are cleared before this one adds its own.
    ReportPageList::removeStaleFolders();
    ReportPageList pages;
    ReportJob job(store, request, pages);
    int shown = -1;
    while (job.step())
        if (job.percent() != shown)
            showProgress(shown = job.percent());
    if (shown >= 0)
        std::fputs("\n", stderr);
    if (!job.filterWarning().isEmpty())
        complain(job.filterWarning());
    if (!job.writeWarning().isEmpty())
        complain(job.writeWarning());
    if (job.outcome() != ReportJob::Outcome::Completed) {
        complain(job.errorText().isEmpty() ? QStringLiteral("the report was not completed") : job.errorText());
        return 1;
    }
    if (pages.isEmpty()) {
        say(QStringLiteral("Nothing to Print."));
        return 1;
    }
    // Layouts that print "page n of m" get m now that it is known.
    replacePageCountMarkers(pages);
    QString why;
    const bool written = writePdf(pages, pdf, &why, [&](int done) {
        showProgress(int(qint64(done) * 100 / pages.count()));
        return true;
    });
    std::fputs("\n", stderr);
    if (!written) {
        complain(QStringLiteral("cannot write %1: %2").arg(pdf, why));
        return 1;
    }
    say(QStringLiteral("%1: %2 lines on %3 pages").arg(pdf).arg(job.linesPrinted()).arg(pages.count()));
    return 0;
#endif
}
