#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace srk {

struct ProgramContext;
struct ReportMember;
class WindowRegistry;

// One run of a catalogue report from the program: the criteria window (or the preview question, the
// category choice, the query wizard), the generation in a progress window with its cancel dialogue, then
// the preview or the printer. Every report start of the menus and browsers comes through here.
class ReportRun {
public:
    enum class Response { Completed = 1, Cancelled = 2 };

    ReportRun(ProgramContext& context, QPrinter& printer, QWidget* parent);

    // Runs `member` to its end. `recordId` is the album of the one-album report, the playlist of the
    // playlist printouts.
    Response run(const ReportMember& member, qint64 recordId = 0);

    // The run's title bar texts of the progress window.
    static QString generatingTitle() { return QStringLiteral("Generating Report"); }
    static QString printingTitle() { return QStringLiteral("Printing Report"); }

    // Registers every standard member (and the album browser's one-album print) and the playlist
    // printouts (the playlist browser's on its highlighted playlist) as commands.
    static void registerWith(WindowRegistry& windows);

private:
    bool askPreview(bool& preview);
    Response finishPreviewed(class ReportPageList& pages, const QString& title);
    Response finishPrinted(class ReportPageList& pages, const QString& title);
    bool print(class ReportPageList& pages, const QString& title);

    ProgramContext& m_context;
    QPrinter& m_printer;
    QWidget* m_parent;
};

}  // namespace srk
