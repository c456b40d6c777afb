#include "reports/ReportJob.h"

#include "catalog/Tables.h"
#include "query/BoundValues.h"
#include "query/QueryEvaluator.h"
#include "query/QueryParser.h"
#include "query/SqlTranslator.h"
#include "reports/MemberLayout.h"
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
};

namespace {

// The step 5 filter of the lists that leave out the marked songs.
bool hasSkipMarker(const Record& song) {
    return song.text(SON::Artist).contains(QLatin1String("(*)")) ||
           song.text(SON::Title).contains(QLatin1String("(Skips)"));
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
    r->def = member->driver == ReportMember::Driver::Songs ? &songsTable() : &albumTable();
    r->key = r->def->keyIndex(member->key);
    r->selectionField = member->selectionField.isEmpty() ? -1 : r->def->fieldIndex(member->selectionField);
    r->table = std::make_unique<Table>(m_store, *r->def);
    bindReportCriteria(m_request.criteria, r->bound);

    ReportLayout layout = memberLayout(*member, title(), m_request.udkLabel);
    layout.applyDatePreference(m_request.datePreference);
    if (m_request.useCustomFont && !member->fontKey.isEmpty() && !isBlankFont(m_request.customFont))
        layout.applyFont(pageFontOf(m_request.customFont));

    // Each detail value from the record as the layout names it.
    bool needCategories = false;
    for (const QString& source : layout.detailSources()) {
        if (source == QLatin1String("TimeText")) {
            r->values.append([](const Record& s) { return QVariant(reportTimeText(s.number(SON::Time))); });
        } else if (source == QLatin1String("CAT:Category")) {
            needCategories = true;
            Reading* reading = r.get();
            r->values.append([reading](const Record& s) {
                return QVariant(reading->categories.value(s.number(SON::CategoryID)));
            });
        } else {
            const int field = r->def->fieldIndex(source);
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
    for (int i = 0; i < m_perStep; ++i) {
        const int code = r.table->next(r.record);
        if (code == RecordNotAvailable) {
            if (!r.composer->endPage()) {
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
        if (r.evaluated && !matches(*r.evaluated, recordFields(r.record, r.bound)))
            continue;
        if (r.selectionField >= 0 && !criteriaAccept(m_request.criteria, r.record.value(r.selectionField)))
            continue;
        r.row.resize(r.values.size());
        for (int v = 0; v < r.values.size(); ++v)
            r.row[v] = r.values[v](r.record);
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
