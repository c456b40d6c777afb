#include "exchange/ImportJob.h"

#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "exchange/ImportLine.h"
#include "store/Store.h"

namespace srk {

namespace {

QString errorNumberText(const StoreError& e) {
    return QStringLiteral("Error #%1 - %2").arg(e.code).arg(e.code == DriverError ? e.driverMessage
                                                            : e.text.isEmpty()    ? errorCodeText(e.code)
                                                                                  : e.text);
}

}  // namespace

ImportJob::ImportJob(TableAccess& access, const QString& path, const ImportPlan& plan)
    : m_access(access), m_path(path), m_plan(plan) {}

ImportJob::~ImportJob() {
    m_readAhead.reset();
    // Dropped in the middle, the job keeps what it added, as Cancel does.
    if (m_frameOpen)
        commitFrame();
    m_categories.reset();
    m_songs.reset();
    // An open raises the use count even when it fails.
    if (m_songsOpen)
        m_access.closeTable(songsTable());
    if (m_categoriesOpen)
        m_access.closeTable(categoriesTable());
}

QString ImportJob::statusText() const {
    if (m_state == State::Completed)
        return QStringLiteral("Process Completed");
    return QStringLiteral("%1% Completed").arg(m_percent);
}

void ImportJob::show(const QString& title, const QString& text) { m_access.ask({title, text, ButtonOk, ButtonOk}); }

bool ImportJob::step() {
    switch (m_state) {
    case State::NotStarted:
        m_state = State::Running;
        if (!begin()) {
            if (m_state == State::Running)
                m_state = State::Stopped;
            if (!cancelled() && errorText().isEmpty())
                cancel();
            return false;
        }
        return m_state == State::Running;
    case State::Running:
        if (cancelled()) {
            // Cancel keeps what was added.
            if (!commitFrame())
                return false;
            m_state = State::Stopped;
            return false;
        }
        return processSlice();
    default: return false;
    }
}

bool ImportJob::begin() {
    m_songsOpen = true;
    m_categoriesOpen = true;
    if (!m_access.openTable(songsTable()).ok() || !m_access.openTable(categoriesTable()).ok()) {
        fail(QStringLiteral("The song or category table cannot be opened."));
        return false;
    }
    Store& store = m_access.store();
    m_songs = std::make_unique<Table>(store, songsTable());
    m_categories = std::make_unique<CategoryMapper>(store);
    m_readAhead = std::make_unique<ImportReadAhead>(m_plan, m_songs->newRecord());
    if (!m_readAhead->open(m_path)) {
        const QString text =
            QStringLiteral("Error #%1 - %2").arg(m_readAhead->errorCode()).arg(m_readAhead->errorText());
        show(QStringLiteral("Cannot OPEN ") + m_path, text);
        fail(text);
        return false;
    }
    // The header line and blank lines never come out of the read-ahead.
    if (!readNext())
        return false;
    if (m_state != State::Running)
        return true;
    if (!openFrame())
        return false;
    // Numbers go on after the highest one the catalogue holds, decided inside the write frame.
    Record last = m_songs->newRecord();
    m_songs->setEnd(SON::KeyID);
    const int rc = m_songs->previous(last);
    m_nextId = rc == NoError ? last.number(SON::ID) + 1 : 1;
    // Into an empty song table the keys are built once at the end, far quicker than song by song.
    if (m_songs->records() == 0) {
        if (store.dropKeys(songsTable()) != NoError) {
            const QString text = errorNumberText(store.lastError());
            store.discard();
            m_frameOpen = false;
            show(QStringLiteral("Cannot ADD to Sonorika!"), text);
            fail(text);
            return false;
        }
        m_keysDropped = true;
        store.setCacheMegabytes(256);
    }
    return true;
}

bool ImportJob::readNext() {
    m_line = &m_readAhead->next();
    updatePercent();
    switch (m_line->status) {
    case CsvReader::Status::Record: return true;
    case CsvReader::Status::End:
        if (!commitFrame())
            return false;
        m_state = State::Completed;
        m_percent = 100;
        return true;
    case CsvReader::Status::TooLong:
        stopOnLine(QStringLiteral("Line Too Long"),
                   QStringLiteral("Line %1 of %2 is longer than %3 characters. The import stopped there; the %4 "
                                  "songs before it were added.")
                       .arg(m_line->lineNumber)
                       .arg(m_path)
                       .arg(CsvReader::kMaxRecordCharacters)
                       .arg(m_added));
        return false;
    case CsvReader::Status::ReadError:
        stopOnLine(QStringLiteral("Cannot READ ") + m_path,
                   QStringLiteral("Error #%1 - %2").arg(m_line->errorCode).arg(m_line->errorText));
        return false;
    }
    return false;
}

void ImportJob::stopOnLine(const QString& title, const QString& text) {
    m_failedLine = m_line->lineNumber;
    commitFrame();
    m_state = State::Stopped;
    show(title, text);
    fail(QStringLiteral("line %1: %2").arg(m_failedLine).arg(text));
}

bool ImportJob::processSlice() {
    for (int n = 0; n < kLinesPerSlice && m_state == State::Running; ++n) {
        Record& song = m_line->song;
        song.setNumber(SON::ID, m_nextId);
        int rc = ImportLineAssigner::setCategory(m_line->categories, *m_categories, song);
        if (rc == NoError)
            rc = m_songs->add(song);
        if (rc != NoError) {
            const QString text = errorNumberText(m_access.store().lastError());
            m_access.store().clearError();
            stopOnLine(QStringLiteral("Cannot ADD to Sonorika!"), text);
            return false;
        }
        ++m_nextId;
        ++m_added;
        ++m_inFrame;
        if (!readNext())
            return false;
        if (m_inFrame >= kLinesPerFrame && !m_keysDropped && m_state == State::Running) {
            if (!commitFrame() || !openFrame())
                return false;
        }
    }
    return m_state == State::Running;
}

bool ImportJob::openFrame() {
    if (m_frameOpen)
        return true;
    if (m_access.store().stream() != NoError) {
        const QString text = errorNumberText(m_access.store().lastError());
        m_state = State::Stopped;
        show(QStringLiteral("Cannot ADD to Sonorika!"), text);
        fail(text);
        return false;
    }
    m_frameOpen = true;
    m_inFrame = 0;
    return true;
}

bool ImportJob::commitFrame() {
    if (!m_frameOpen)
        return true;
    Store& store = m_access.store();
    m_frameOpen = false;
    m_inFrame = 0;
    int rc = NoError;
    if (m_keysDropped) {
        rc = store.buildKeys(songsTable());
        m_keysDropped = false;
        store.setCacheMegabytes(64);
    }
    if (rc == NoError)
        rc = store.flush();
    if (rc != NoError) {
        const QString text = errorNumberText(store.lastError());
        store.discard();
        m_added = m_addedCommitted;
        m_state = State::Stopped;
        show(QStringLiteral("Cannot ADD to Sonorika!"), text);
        fail(text);
        return false;
    }
    m_addedCommitted = m_added;
    return true;
}

void ImportJob::updatePercent() {
    const qint64 size = m_readAhead->size();
    if (m_percent < 100 && size > 0)
        m_percent = int(qMin<qint64>(100, m_line->bytesRead * 100 / size));
}

}  // namespace srk
