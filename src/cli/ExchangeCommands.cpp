#include "ExchangeCommands.h"

#include "access/ConsoleMessages.h"
#include "access/TableAccess.h"
#include "exchange/ExchangeFields.h"
#include "exchange/ExportJob.h"
#include "exchange/ExportSetup.h"
#include "exchange/ImportJob.h"
#include "exchange/ImportMapping.h"
#include "store/Store.h"

#include <QElapsedTimer>

#include <cstdio>
#include <unistd.h>

using namespace srk;

namespace {

void say(const QString& text) { std::fputs(qPrintable(text + QLatin1Char('\n')), stdout); }
void complain(const QString& text) { std::fputs(qPrintable(QStringLiteral("sonorika-cli: ") + text + QLatin1Char('\n')), stderr); }

int usage(const QString& text) {
    complain(text);
    std::fputs("Try 'sonorika-cli --help'.\n", stderr);
    return 2;
}

// A bar on standard error while the job runs, redrawn only when the percentage changes; on a terminal
// it stays on one line.
template <class J>
bool runWithBar(J& job) {
    const bool terminal = isatty(fileno(stderr));
    int shown = -1;
    auto draw = [&](int percent) {
        const int filled = percent * 30 / 100;
        std::fprintf(stderr, "%s%s [%s%s] %3d%% Completed%s", terminal ? "\r" : "", qPrintable(job.title()),
                     QByteArray(filled, '#').constData(), QByteArray(30 - filled, ' ').constData(), percent,
                     terminal ? "" : "\n");
        std::fflush(stderr);
    };
    while (job.step()) {
        // Without a terminal, only every tenth step of the bar is worth a line.
        const int p = job.percent();
        if (p != shown && (terminal || p / 10 != shown / 10)) {
            shown = p;
            draw(p);
        }
    }
    if (job.completed())
        draw(100);
    if (terminal)
        std::fputc('\n', stderr);
    return job.completed();
}

// "N=@d2" or several of them separated by commas.
bool takePictures(const QString& text, QVector<QPair<int, QString>>& out, QString& error) {
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        bool ok = false;
        const int column = eq > 0 ? part.left(eq).trimmed().toInt(&ok) : 0;
        const QString picture = eq > 0 ? part.mid(eq + 1).trimmed() : QString();
        PictureRefusal refusal;
        if (!ok || column < 1 || picture.isEmpty()) {
            error = QStringLiteral("'%1' is not COLUMN=PICTURE").arg(part);
            return false;
        }
        if (!pictureEntryAccepted(picture, &refusal)) {
            error = refusal.text;
            return false;
        }
        out.push_back({column, picture});
    }
    return true;
}

}  // namespace

int commandImport(const QString& folder, const QStringList& args) {
    QString file, map;
    QVector<QPair<int, QString>> pictures;
    bool autoMap = false;
    int header = -1;  // -1: as the mapping decided
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--map")) {
            if (!value(map))
                return usage(QStringLiteral("--map needs 'FIELD=COLUMN,...'"));
        } else if (a == QLatin1String("--picture")) {
            QString error;
            if (!value(v))
                return usage(QStringLiteral("--picture needs COLUMN=PICTURE"));
            if (!takePictures(v, pictures, error))
                return usage(error);
        } else if (a == QLatin1String("--auto")) {
            autoMap = true;
        } else if (a == QLatin1String("--header")) {
            header = 1;
        } else if (a == QLatin1String("--no-header")) {
            header = 0;
        } else if (a.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            return usage(QStringLiteral("unknown argument '%1'").arg(a));
        } else {
            file = a;
        }
    }
    if (file.isEmpty())
        return usage(QStringLiteral("import needs a FILE"));

    ImportMapping mapping;
    if (mapping.open(file) != ImportMapping::OpenResult::Ok) {
        complain(mapping.failureTitle() + QStringLiteral(": ") + mapping.failureText());
        return 1;
    }
    // The window assigns by the header when it opens; a map given alone starts from nothing.
    if (!map.isEmpty() && !autoMap) {
        for (int t = 0; t < importTargets().size(); ++t)
            mapping.unassign(t);
        mapping.setHeader(false);
    }
    for (const QString& part : map.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.lastIndexOf(QLatin1Char('='));
        bool ok = false;
        const int column = eq > 0 ? part.mid(eq + 1).trimmed().toInt(&ok) : 0;
        const int target = eq > 0 ? importTargetIndex(part.left(eq).trimmed()) : -1;
        if (target < 0)
            return usage(QStringLiteral("'%1' does not name an import field (SON:Artist, SON:Title, ...)").arg(part));
        if (!ok || column < 1 || column > mapping.columns().size())
            return usage(QStringLiteral("'%1': the file's first line has %2 columns").arg(part).arg(mapping.columns().size()));
        mapping.assign(column - 1, target);
    }
    for (const auto& [column, picture] : pictures) {
        if (column > mapping.columns().size())
            return usage(QStringLiteral("column %1: the file's first line has %2 columns").arg(column).arg(mapping.columns().size()));
        mapping.setPicture(column - 1, picture);
    }
    if (header >= 0)
        mapping.setHeader(header == 1);
    QString title, text;
    if (mapping.okRefused(&title, &text)) {
        complain(title + QStringLiteral(" ") + text);
        return 1;
    }

    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    ImportJob job(access, file, mapping.plan());
    QElapsedTimer timer;
    timer.start();
    const bool done = runWithBar(job);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    say(QStringLiteral("%1 songs added, %2 categories made in %3 s").arg(job.songsAdded()).arg(job.categoriesAdded()).arg(seconds, 0, 'f', 2));
    if (!done) {
        complain(job.errorText().isEmpty() ? QStringLiteral("the import was cancelled")
                                           : QStringLiteral("import stopped: ") + job.errorText());
        return 1;
    }
    return 0;
}

int commandExport(const QString& folder, const QStringList& args) {
    QString file, fields;
    bool header = true;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--fields")) {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("--fields needs 'FIELD[@PICTURE],...'"));
            fields = args[++i];
        } else if (a == QLatin1String("--no-header")) {
            header = false;
        } else if (a.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            return usage(QStringLiteral("unknown argument '%1'").arg(a));
        } else {
            file = a;
        }
    }
    if (file.isEmpty())
        return usage(QStringLiteral("export needs a FILE"));
    QVector<ExportColumn> columns = ExportSetup().columns();
    if (!fields.isEmpty()) {
        columns.clear();
        for (const QString& part : fields.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const qsizetype at = part.indexOf(QLatin1Char('@'));
            const QString name = (at < 0 ? part : part.left(at)).trimmed();
            const int index = exportFieldIndex(name);
            if (index < 0)
                return usage(QStringLiteral("'%1' is not an export field (SON:Artist, ..., CAT:Category)").arg(name));
            columns.push_back({exportFields()[index].name, at < 0 ? exportFields()[index].picture : part.mid(at).trimmed()});
        }
        if (columns.isEmpty())
            return usage(QStringLiteral("--fields names no field"));
    }

    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    ExportJob job(access, file, columns, header);
    QElapsedTimer timer;
    timer.start();
    const bool done = runWithBar(job);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    say(QStringLiteral("%1 songs written in %2 s").arg(job.songsWritten()).arg(seconds, 0, 'f', 2));
    if (!done) {
        complain(job.errorText().isEmpty() ? QStringLiteral("the export was cancelled")
                                           : QStringLiteral("export stopped: ") + job.errorText());
        return 1;
    }
    return 0;
}
