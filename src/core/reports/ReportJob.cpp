#include "reports/ReportJob.h"

#include "catalog/Tables.h"
#include "query/BoundValues.h"
#include "query/QueryEvaluator.h"
#include "query/QueryParser.h"
#include "query/SqlTranslator.h"
#include "playlists/ChartPlaces.h"
#include "playlists/PlaylistLines.h"
#include "reports/MemberLayout.h"
#include "reports/PlaylistPrintouts.h"
#include "reports/CustomFont.h"
#include "reports/ReportComposer.h"
#include "reports/ReportPageList.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QHash>

#include <functional>
#include <optional>

namespace srk {

struct ReportJob::Reading {
    const TableDef* def = nullptr;
    std::unique_ptr<Table> table;
    int key = -1;
    int selectionField = -1;
    std::optional<Expr> evaluated;  // a filter the engine cannot run, tested record by record
    BoundValues bound;
    QHash<qint64, QString> categories;
    QVector<std::function<QVariant(const Record&)>> values;
    std::unique_ptr<ReportComposer> composer;
    Record record;
    QVector<QVariant> row;
    // The playlist printouts: each line's song, the chart's places, the total time.
    std::unique_ptr<Table> songs;
    Record song;
    ChartPlaces chart;
    ChartPlace place;
    qint64 totalTime = 0;
    bool timed = false;
};

namespace {

// The step 5 filter of the lists that leave out the marked songs.
bool hasSkipMarker(const Record& song) {
    return song.text(SON::Artist).contains(QLatin1String("(*)")) ||
           song.text(SON::Title).contains(QLatin1String("(Skips)"));
}

// A song's fields, with the name of its category as the joined "CAT:Category".
FieldResolver songFields(const Record& song, const BoundValues& bound, const QHash<qint64, QString>& categories) {
    FieldResolver fields = recordFields(song, bound);
    const auto own = fields.field;
    fields.field = [own, &song, &categories](const QString& name) -> std::optional<QVariant> {
        if (name.compare(QLatin1String("CAT:Category"), Qt::CaseInsensitive) == 0)
            return QVariant(categories.value(song.number(SON::CategoryID)));
        return own(name);
    };
    return fields;
}

QString playlistDescription(Store& store, qint64 playlistId) {
    Table playlists(store, playlistMasterTable());
    Record p(playlistMasterTable());
    p.setNumber(PLD::PlaylistID, playlistId);
    return playlists.get(PLD::KeyPlaylistID, p) == NoError ? p.text(PLD::PlaylistDescription).trimmed() : QString();
}

QString joined(const QStringList& parts) {
    if (parts.size() == 1)
        return parts.first();
    QStringList wrapped;
    for (const QString& p : parts)
        wrapped << QLatin1Char('(') + p + QLatin1Char(')');
    return wrapped.join(QStringLiteral(" AND "));
}

}  // namespace

ReportJob::ReportJob(Store& store, const ReportRequest& request, ReportPageList& pages)
    : m_store(store), m_request(request), m_pages(pages) {}

ReportJob::~ReportJob() {
    if (m_reading && m_reading->table)
        m_reading->table->sendCommand(QStringLiteral("QUICKSCAN=off"));
}

QString ReportJob::title() const {
    if (!m_request.title.isEmpty())
        return m_request.title;
    return m_request.member ? m_request.member->title : QString();
}

int ReportJob::linesPrinted() const { return m_reading && m_reading->composer ? m_reading->composer->bandsPrinted() : 0; }

int ReportJob::percent() const { return m_percent; }

bool ReportJob::begin() {
    const ReportMember* member = m_request.member;
    if (!member) {
        fail(QStringLiteral("No report was chosen."));
        return false;
    }
    if (!m_pages.isUsable()) {
        fail(m_pages.errorString());
        return false;
    }
    auto r = std::make_unique<Reading>();
    const bool lines = member->driver == ReportMember::Driver::PlaylistLines;
    r->def = member->driver == ReportMember::Driver::Songs ? &songsTable()
             : lines                                       ? &playlistDetailsTable()
                                                           : &albumTable();
    if (lines) {
        r->songs = std::make_unique<Table>(m_store, songsTable());
        r->song = Record(songsTable());
    }
    r->key = r->def->keyIndex(member->key);
    r->selectionField = member->selectionField.isEmpty() ? -1 : r->def->fieldIndex(member->selectionField);
    r->table = std::make_unique<Table>(m_store, *r->def);
    bindReportCriteria(m_request.criteria, r->bound);

    ReportLayout layout;
    if (member->printout) {
        PrintoutTexts texts;
        const QString description = lines ? playlistDescription(m_store, m_request.playlistId) : QString();
        // The chart is titled by its playlist; the running order prints the playlist's name under its title.
        if (member->chart && !description.isEmpty() && m_request.title.isEmpty())
            m_request.title = description;
        texts.title = title();
        if (!member->chart)
            texts.subtitle = description;
        texts.udkLabel = m_request.udkLabel;
        texts.notesLabel = m_request.notesLabel;
        texts.logoFile = member->logo ? m_request.logoFile : QString();
        layout = printoutLayout(*member, texts);
    } else {
        layout = memberLayout(*member, title(), m_request.udkLabel);
    }
    layout.applyDatePreference(m_request.datePreference);
    if (m_request.useCustomFont && !member->fontKey.isEmpty() && !isBlankFont(m_request.customFont))
        layout.applyFont(pageFontOf(m_request.customFont));

    // Each detail value from the record as the layout names it (a line's song for the playlists).
    bool needCategories = m_request.filterText.contains(QLatin1String("CAT:"), Qt::CaseInsensitive);
    const TableDef& shown = lines ? songsTable() : *r->def;
    Reading* reading = r.get();
    for (const QString& source : layout.detailSources()) {
        if (source == QLatin1String("ReleaseYear")) {
            r->values.append([](const Record& s) { return QVariant(djLogYear(s.number(SON::ReleaseDate))); });
        } else if (source == QLatin1String("ChartPlace")) {
            r->values.append([reading](const Record&) { return QVariant(reading->place.place); });
        } else if (source == QLatin1String("ChartLastWeek")) {
            r->values.append([reading](const Record&) { return QVariant(reading->place.lastWeek); });
        } else if (source == QLatin1String("ChartMark")) {
            r->values.append([reading](const Record&) { return QVariant(reading->place.mark); });
        } else if (source == QLatin1String("TimeText")) {
            r->values.append([](const Record& s) { return QVariant(reportTimeText(s.number(SON::Time))); });
        } else if (source == QLatin1String("CAT:Category")) {
            needCategories = true;
            r->values.append([reading](const Record& s) {
                return QVariant(reading->categories.value(s.number(SON::CategoryID)));
            });
        } else {
            const int field = shown.fieldIndex(source);
            r->values.append([field](const Record& rec) { return field < 0 ? QVariant() : rec.value(field); });
        }
    }
    if (needCategories) {
        Table categories(m_store, categoriesTable());
        Record c;
        if (categories.setStart(CAT::KeyCategoryID) == NoError)
            while (categories.next(c) == NoError)
                r->categories.insert(c.number(CAT::CategoryID), c.text(CAT::Category));
    }

    // The view's filter: the member's own limits and the caller's query, run by the engine when it can.
    QStringList limits;
    if (member->byCategory)
        limits << QStringLiteral("SON:CategoryID = %1").arg(m_request.categoryId);
    if (member->oneAlbum)
        limits << QStringLiteral("SON:AlbumID = %1").arg(m_request.albumId);
    if (lines)
        limits << QStringLiteral("PLA:PlaylistID = %1").arg(m_request.playlistId);
    QStringList parts = limits;
    if (!m_request.filterText.trimmed().isEmpty()) {
        const ParsedQuery parsed = parseQuery(m_request.filterText);
        if (parsed.ok())
            parts << m_request.filterText;
        else
            m_filterWarning = QStringLiteral("The filter cannot be used (%1); the report lists every record.")
                                  .arg(parsed.error);
    }
    if (!parts.isEmpty()) {
        const ParsedQuery parsed = parseQuery(joined(parts));
        if (parsed.ok()) {
            const std::optional<SqlCondition> sql = toSql(*parsed.expr, tableColumns(*r->def, r->bound, true));
            if (sql)
                r->table->setFilter(*sql);
            else
                r->evaluated = parsed.expr;
        }
    }

    m_total = r->table->records();
    // A playlist's lines are its printout's whole: its share of the line table would stall the bar.
    if (qint64 count = 0; lines && PlaylistLines::lineCount(m_store, m_request.playlistId, count) == NoError)
        m_total = count;
    r->table->sendCommand(QStringLiteral("QUICKSCAN=on"));
    if (r->table->setStart(r->key) != NoError) {
        fail(m_store.lastError().displayText());
        return false;
    }
    r->composer = std::make_unique<ReportComposer>(layout, m_pages, m_request.runDate);
    r->record = Record(*r->def);
    m_reading = std::move(r);
    return true;
}

bool ReportJob::step() {
    if (m_outcome != Outcome::Running)
        return false;
    if (cancelled()) {
        finish(Outcome::Cancelled);
        return false;
    }
    if (!m_started) {
        m_started = true;
        if (!begin()) {
            finish(Outcome::Failed);
            return false;
        }
        return true;
    }
    Reading& r = *m_reading;
    const bool songs = r.def == &songsTable();
    const bool skips = m_request.member->skipMarkers && songs;
    const ReportMember& member = *m_request.member;
    for (int i = 0; i < m_perStep; ++i) {
        const int code = r.table->next(r.record);
        if (code == RecordNotAvailable) {
            // The total counts real durations: each stored time is its hundredths plus one.
            const qint64 total = r.timed ? r.totalTime + 1 : 0;
            if ((member.totalTime && !r.composer->printSummary({QVariant(total)})) || !r.composer->endPage()) {
                fail(r.composer->errorString());
                finish(Outcome::Failed);
                return false;
            }
            finish(Outcome::Completed);
            return false;
        }
        if (code != NoError) {
            fail(QStringLiteral("Error reading records of %1: %2").arg(r.def->label, m_store.lastError().displayText()));
            finish(Outcome::Failed);
            return false;
        }
        ++m_read;
        if (m_total > 0)
            m_percent = int(std::min<qint64>(100, m_read * 100 / m_total));
        if (skips && hasSkipMarker(r.record))
            continue;
        if (r.evaluated && !matches(*r.evaluated, songs ? songFields(r.record, r.bound, r.categories)
                                                        : recordFields(r.record, r.bound)))
            continue;
        if (r.selectionField >= 0 && !criteriaAccept(m_request.criteria, r.record.value(r.selectionField)))
            continue;
        const Record* shown = &r.record;
        if (r.songs) {
            // A line whose song is gone prints blank.
            r.song = Record(songsTable());
            r.song.setNumber(SON::ID, r.record.number(PLA::ID));
            if (r.songs->get(SON::KeyID, r.song) != NoError)
                r.song = Record(songsTable());
            shown = &r.song;
        }
        if (member.chart) {
            r.place = r.chart.next(r.record);
            if (r.place.renumbered) {
                if (r.table->put(r.record) == NoError)
                    ++m_renumbered;
                else if (m_writeWarning.isEmpty())
                    m_writeWarning = QStringLiteral("The running order of the playlist could not be closed up: %1")
                                         .arg(m_store.lastError().displayText());
            }
        }
        if (member.totalTime && shown->number(SON::Time) > 0) {
            r.totalTime += shown->number(SON::Time) - 1;
            r.timed = true;
        }
        r.row.resize(r.values.size());
        for (int v = 0; v < r.values.size(); ++v)
            r.row[v] = r.values[v](*shown);
        if (!r.composer->printDetail(r.row)) {
            fail(r.composer->errorString());
            finish(Outcome::Failed);
            return false;
        }
    }
    return true;
}

void ReportJob::cancel() {
    Job::cancel();
    if (m_outcome == Outcome::Running)
        finish(Outcome::Cancelled);
}

bool ReportJob::keepPartial() {
    if (!m_reading || !m_reading->composer)
        return false;
    const bool ok = m_reading->composer->endPage();
    m_outcome = Outcome::Completed;
    if (m_reading->table)
        m_reading->table->sendCommand(QStringLiteral("QUICKSCAN=off"));
    return ok;
}

void ReportJob::finish(Outcome outcome) {
    m_outcome = outcome;
    if (m_reading && m_reading->table)
        m_reading->table->sendCommand(QStringLiteral("QUICKSCAN=off"));
    if (outcome == Outcome::Completed) {
        m_percent = 100;
        return;
    }
    // Nothing of a cancelled or failed run is kept.
    if (m_reading)
        m_reading->composer.reset();
    m_pages.clear();
}

}  // namespace srk
