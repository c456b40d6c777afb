#include "ui/reports/ReportRun.h"

#include "access/MessageService.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "reports/CustomFont.h"
#include "reports/PlaylistPrintouts.h"
#include "reports/ReportCriteria.h"
#include "reports/ReportJob.h"
#include "reports/ReportMember.h"
#include "reports/ReportPageList.h"
#include "songs/SongQueryFields.h"
#include "store/Record.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/albums/BrowseAlbums.h"
#include "ui/playlists/BrowsePlaylists.h"
#include "ui/query/QueryWizard.h"
#include "ui/reports/PrintPreview.h"
#include "ui/reports/ReportCancelling.h"
#include "ui/reports/ReportCriteriaWindow.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/ProgressWindow.h"
#include "ui/services/WindowSize.h"
#include "ui/shell/MainFrame.h"
#include "ui/songs/BrowseCategories.h"

#include <QFontDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrinter>

namespace srk {

namespace {

const QString kNote = QStringLiteral("NOTE...");

// The font dialog's answer as section "Fonts" keeps it.
ReportFont reportFontOf(const QFont& font, int rgb) {
    ReportFont f;
    f.name = font.family().left(32);
    f.size = font.pointSize() > 0 ? font.pointSize() : int(font.pointSizeF());
    f.color = rgb;
    f.style = font.weight() * 7 / 10;  // Qt's 100..900 weights on the 1..1000 scale of the file
    if (font.italic())
        f.style |= 0x1000;
    if (font.underline())
        f.style |= 0x2000;
    if (font.strikeOut())
        f.style |= 0x4000;
    return f;
}

QFont qFontOf(const ReportFont& f) {
    QFont font(f.name.isEmpty() ? QStringLiteral("Sans Serif") : f.name);
    if (f.size > 0)
        font.setPointSize(f.size);
    const int weight = f.style & 0xfff;
    if (weight > 0)
        font.setWeight(QFont::Weight(qBound(100, weight, 900)));
    font.setItalic(f.style & 0x1000);
    font.setUnderline(f.style & 0x2000);
    font.setStrikeOut(f.style & 0x4000);
    return font;
}

// The id of the record highlighted in the browser of that kind that is active (or the first open one
// with one); 0 when none.
template <typename Browser>
qint64 highlightedId(WindowRegistry& windows, Record (Browser::*highlighted)() const, int idField) {
    auto* frame = dynamic_cast<MainFrame*>(&windows);
    if (!frame)
        return 0;
    QList<Browser*> browsers;
    if (QMdiSubWindow* active = frame->workspace()->activeSubWindow())
        if (auto* b = qobject_cast<Browser*>(active->widget()))
            browsers << b;
    for (QMdiSubWindow* sub : frame->workspace()->subWindowList())
        if (auto* b = qobject_cast<Browser*>(sub->widget()))
            browsers << b;
    for (Browser* b : browsers) {
        const Record record = (b->*highlighted)();
        if (record.number(idField) > 0)
            return record.number(idField);
    }
    return 0;
}

qint64 highlightedAlbumId(WindowRegistry& windows) {
    return highlightedId(windows, &BrowseAlbums::highlightedAlbum, ALB::AlbumID);
}

qint64 highlightedPlaylistId(WindowRegistry& windows) {
    return highlightedId(windows, &BrowsePlaylists::highlightedPlaylist, PLD::PlaylistID);
}

}  // namespace

ReportRun::ReportRun(ProgramContext& context, QPrinter& printer, QWidget* parent)
    : m_context(context), m_printer(printer), m_parent(parent) {}

bool ReportRun::askPreview(bool& preview) {
    const int answer = m_context.messages->ask({QStringLiteral("Preview"), QStringLiteral("Do you wish to PREVIEW this Report?"),
                                                ButtonYes | ButtonNo | ButtonCancel, ButtonYes});
    if (answer == ButtonCancel)
        return false;
    preview = answer == ButtonYes;
    return true;
}

ReportRun::Response ReportRun::run(const ReportMember& standard, qint64 recordId) {
    ReportCriteria& criteria = reportCriteria();
    const QPointer<QWidget> parentAlive(m_parent);
    m_printer.setCopyCount(1);

    ReportRequest request;
    bool preview = false;
    const ReportMember* member = &standard;
    if (standard.start == ReportMember::Start::PreviewQuestion) {
        if (!askPreview(preview))
            return Response::Cancelled;
    } else {
        if (standard.start == ReportMember::Start::CategoryThenCriteria) {
            Record chosen(categoriesTable());
            if (BrowseCategories::select(m_context, chosen, m_parent) != WindowResponse::Completed)
                return Response::Cancelled;
            request.categoryId = chosen.number(CAT::CategoryID);
            request.title = QStringLiteral("Music in %1 Category").arg(chosen.text(CAT::Category).trimmed()).left(80);
        }
        if (!ReportCriteriaWindow::ask(criteria, standard.noun, &m_context.positions, m_parent))
            return Response::Cancelled;
        // The brief member prints instead, under the same run.
        if (criteria.brief())
            member = &briefOf(standard);
        preview = criteria.PreviewFlag != 0;
    }
    if (parentAlive.isNull() && m_parent)
        return Response::Cancelled;
    if (member->oneAlbum) {
        request.albumId = recordId;
        if (recordId <= 0)
            return Response::Cancelled;
    }
    if (member->driver == ReportMember::Driver::PlaylistLines) {
        request.playlistId = recordId;
        if (recordId <= 0)
            return Response::Cancelled;
    }
    if (member->wizardFilter) {
        QString filter;
        const QueryFieldList fields = member->wizardWithoutMediaTable ? djLogQueryFields() : songQueryFields();
        if (!fields.isValid())  // the report goes on unfiltered
            m_context.messages->ask({QStringLiteral("Query Wizard Error# ") + QString::number(fields.error()),
                                     QStringLiteral("An error has prevented the Query Wizard from initializing."),
                                     ButtonOk, ButtonOk});
        else if (!QueryWizard::run(m_parent, *m_context.messages, fields, filter, QStringLiteral("SONGS"),
                                   m_context.dataFolder, &m_context.positions))
            filter.clear();
        // A quit while the wizard was up leaves no run behind it.
        if ((parentAlive.isNull() && m_parent) || ModalWindows::instance().cancelling())
            return Response::Cancelled;
        request.filterText = filter;
    }

    request.member = member;
    request.criteria = criteria;
    request.datePreference = m_context.preferences.DateFormat;
    request.udkLabel = m_context.preferences.UDKPrompt;
    request.notesLabel = m_context.preferences.NotesLabel;
    if (member->logo)
        request.logoFile = printoutLogoFile(m_context.preferences.Logo, m_context.dataFolder);
    if (criteria.UseCustomFont && !member->fontKey.isEmpty()) {
        const ReportFont stored = readReportFont(m_context.preferencesFile, member->fontKey);
        ModalWindow<QFontDialog> dialog(qFontOf(stored), m_parent);
        dialog->setWindowTitle(QStringLiteral("Select Custom Font for Report"));
        fitWindow(dialog.get());
        const ModalResult chosen = dialog.exec();
        // A quit closed the dialog: nothing is generated after it.
        if (chosen.gone || ModalWindows::instance().cancelling())
            return Response::Cancelled;
        if (chosen.accepted()) {
            const ReportFont picked = reportFontOf(dialog->selectedFont(), stored.color);
            writeReportFont(m_context.preferencesFile, member->fontKey, picked);
            m_context.preferencesFile.save();
            request.useCustomFont = true;
            request.customFont = picked;
        }
    }

    // The tables are released when the run ends, however it ends.
    TableUse songs(*m_context.access), albums(*m_context.access), categories(*m_context.access);
    if (!songs.open(songsTable()) || !albums.open(albumTable()) || !categories.open(categoriesTable()))
        return Response::Cancelled;
    TableUse playlists(*m_context.access), lines(*m_context.access);
    if (member->driver == ReportMember::Driver::PlaylistLines &&
        (!playlists.open(playlistMasterTable()) || !lines.open(playlistDetailsTable())))
        return Response::Cancelled;

    ReportPageList pages;
    if (!pages.isUsable()) {
        m_context.messages->ask({kNote, pages.errorString(), ButtonOk, ButtonOk});
        return Response::Cancelled;
    }
    ReportJob job(*m_context.store, request, pages);
    ReportCancelling driven(job, pages, preview, *m_context.messages);
    const QString title = preview ? generatingTitle() : printingTitle();
    ProgressWindow::run(m_parent, driven, title, QString(), *m_context.messages);
    if (!job.filterWarning().isEmpty())
        m_context.messages->ask({QStringLiteral("View Open Error"), job.filterWarning(), ButtonOk, ButtonOk});
    if (!job.writeWarning().isEmpty())
        m_context.messages->ask({QStringLiteral("Error!"), job.writeWarning(), ButtonOk, ButtonOk});
    if (job.outcome() != ReportJob::Outcome::Completed)
        return Response::Cancelled;
    const QString documentName = job.title();
    return preview ? finishPreviewed(pages, documentName) : finishPrinted(pages, documentName);
}

ReportRun::Response ReportRun::finishPreviewed(ReportPageList& pages, const QString& title) {
    if (pages.isEmpty()) {
        m_context.messages->ask({kNote, QStringLiteral("Nothing to Preview."), ButtonOk, ButtonOk});
        return Response::Cancelled;
    }
    if (PRINTPREVIEW(pages, 100, previewSettingsPath(m_context.dataFolder), m_parent) != 1)
        return Response::Cancelled;
    return print(pages, title) ? Response::Completed : Response::Cancelled;
}

ReportRun::Response ReportRun::finishPrinted(ReportPageList& pages, const QString& title) {
    if (pages.isEmpty()) {
        m_context.messages->ask({kNote, QStringLiteral("Nothing to Print."), ButtonOk, ButtonOk});
        return Response::Cancelled;
    }
    return print(pages, title) ? Response::Completed : Response::Cancelled;
}

bool ReportRun::print(ReportPageList& pages, const QString& title) {
    const int previousCopies = m_printer.copyCount();
    if (!choosePrinter(m_printer, m_parent, title))
        return false;
    // The copies asked for in the dialog; made by the program when the printer cannot.
    const int copies = m_printer.copyCount();
    HANDLECOPIES(pages, copies, m_printer);
    QString why;
    const bool printed = flushToPrinter(pages, m_printer, &why);
    m_printer.setCopyCount(previousCopies);
    if (!printed)
        m_context.messages->ask({QStringLiteral("Printing Report"), why, ButtonOk, ButtonOk});
    return printed;
}

void ReportRun::registerWith(WindowRegistry& windows) {
    auto start = [](WindowRegistry& w, const ReportMember& member, qint64 albumId) {
        auto* frame = dynamic_cast<MainFrame*>(&w);
        static QPrinter* spare = nullptr;
        if (!frame && !spare)
            spare = new QPrinter(QPrinter::HighResolution);
        ReportRun run(w.context(), frame ? frame->printer() : *spare, frame);
        run.run(member, albumId);
    };
    for (const ReportMember& member : reportMembers()) {
        if (member.isBrief())
            continue;
        const QString name = member.name;
        if (member.oneAlbum) {
            auto openOne = [start, name](WindowRegistry& w) -> QWidget* {
                start(w, *reportMember(name), highlightedAlbumId(w));
                return nullptr;
            };
            windows.registerWindow(name, openOne);
            windows.registerWindow(QStringLiteral("PrintALB:OneAlbum"), openOne);
            continue;
        }
        windows.registerWindow(name, [start, name](WindowRegistry& w) -> QWidget* {
            start(w, *reportMember(name), 0);
            return nullptr;
        });
    }
    for (const ReportMember& member : playlistPrintouts()) {
        const QString name = member.name;
        const bool ofPlaylist = member.driver == ReportMember::Driver::PlaylistLines;
        windows.registerWindow(name, [start, name, ofPlaylist](WindowRegistry& w) -> QWidget* {
            start(w, *reportMember(name), ofPlaylist ? highlightedPlaylistId(w) : 0);
            return nullptr;
        });
    }
}

}  // namespace srk
