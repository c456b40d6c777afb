#include "exchange/ExportJob.h"

#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/Store.h"

#include <QVector>

namespace srk {

ExportJob::ExportJob(TableAccess& access, const QString& path, const QVector<ExportColumn>& columns, bool header)
    : m_access(access), m_path(path), m_builder(columns), m_header(header) {}

ExportJob::~ExportJob() {
    if (m_writer.isOpen())
        m_writer.close();
    for (Table* t : {m_songs.get(), m_categories.get()})
        if (t)
            t->sendCommand(QStringLiteral("QUICKSCAN=off"));
    m_songs.reset();
    m_categories.reset();
    if (m_songsOpen)
        m_access.closeTable(songsTable());
    if (m_categoriesOpen)
        m_access.closeTable(categoriesTable());
}

QString ExportJob::statusText() const {
    if (m_state == State::Completed)
        return QStringLiteral("Process Completed");
    return QStringLiteral("%1% Completed").arg(m_percent);
}

void ExportJob::stop(const QString& title, const QString& text) {
    m_access.ask({title, text, ButtonOk, ButtonOk});
    fail(title + QStringLiteral(": ") + text);
    finish(State::Stopped);
}

void ExportJob::finish(State state) {
    m_state = state;
    for (Table* t : {m_songs.get(), m_categories.get()})
        if (t)
            t->sendCommand(QStringLiteral("QUICKSCAN=off"));
    if (m_writer.isOpen()) {
        // Lines the file took so far stay; what the user gave up on is dropped.
        if (!errorText().isEmpty() || !writeOut()) {
            m_writer.dropPending();
            m_state = State::Stopped;
        }
        if (!m_writer.close() && errorText().isEmpty()) {
            const QString text = QStringLiteral("Error #%1 - %2").arg(m_writer.errorCode()).arg(m_writer.errorText());
            m_access.ask({QStringLiteral("Cannot CLOSE ") + m_path, text, ButtonOk, ButtonOk});
            fail(text);
            m_state = State::Stopped;
        }
    }
    if (m_state == State::Completed)
        m_percent = 100;
}

bool ExportJob::step() {
    switch (m_state) {
    case State::NotStarted:
        m_state = State::Running;
        if (!begin()) {
            if (m_state == State::Running)
                finish(State::Stopped);
            if (!cancelled() && errorText().isEmpty())
                cancel();
            return false;
        }
        return m_state == State::Running;
    case State::Running:
        if (cancelled()) {
            finish(State::Stopped);
            return false;
        }
        return processSlice();
    default: return false;
    }
}

bool ExportJob::begin() {
    m_songsOpen = m_categoriesOpen = true;
    if (!m_access.openTable(songsTable()).ok() || !m_access.openTable(categoriesTable()).ok()) {
        fail(QStringLiteral("The song or category table cannot be opened."));
        return false;
    }
    if (!m_writer.create(m_path)) {
        stop(QStringLiteral("Cannot CREATE ") + m_path,
             QStringLiteral("Error #%1 - %2").arg(m_writer.errorCode()).arg(m_writer.errorText()));
        return false;
    }
    if (!m_writer.open()) {
        stop(QStringLiteral("Cannot OPEN ") + m_path,
             QStringLiteral("Error #%1 - %2").arg(m_writer.errorCode()).arg(m_writer.errorText()));
        return false;
    }
    if (m_header && (!addLine(m_builder.headerLine()) || !writeOut())) {
        finish(State::Stopped);
        return false;
    }
    Store& store = m_access.store();
    m_songs = std::make_unique<Table>(store, songsTable());
    m_categories = std::make_unique<Table>(store, categoriesTable());
    m_total = m_songs->records();
    m_songs->sendCommand(QStringLiteral("QUICKSCAN=on"));
    m_categories->sendCommand(QStringLiteral("QUICKSCAN=on"));
    m_anchor = KeyAnchor::start();
    if (m_total == 0)
        finish(State::Completed);
    return true;
}

int ExportJob::categoryName(qint64 id, QString& name) {
    if (auto it = m_categoryNames.constFind(id); it != m_categoryNames.constEnd()) {
        name = it.value();
        return NoError;
    }
    Record c = m_categories->newRecord();
    c.setNumber(CAT::CategoryID, id);
    const int rc = m_categories->get(CAT::KeyCategoryID, c);
    if (rc != NoError && rc != RecordNotFound)
        return rc;
    name = rc == NoError ? c.text(CAT::Category) : QString();
    m_categoryNames.insert(id, name);
    return NoError;
}

bool ExportJob::processSlice() {
    if (m_aheadPos >= m_ahead.size() && !m_lastBatch) {
        m_ahead.clear();
        m_aheadPos = 0;
        const int rc = m_songs->fetch(SON::SongsByArtist, m_anchor, true, kSongsPerRead, m_ahead);
        if (rc != NoError && rc != RecordNotAvailable) {
            m_access.showStandardMessage(StdMsg::RetrievalError, QStringLiteral("Sonorika"));
            fail(m_access.store().lastError().displayText());
            finish(State::Stopped);
            return false;
        }
        m_lastBatch = m_ahead.size() < kSongsPerRead;
        if (!m_ahead.isEmpty())
            m_anchor = KeyAnchor::after(m_ahead.last(), SON::SongsByArtist);
    }
    const qsizetype start = m_aheadPos, end = qMin(m_aheadPos + kSongsPerSlice, m_ahead.size());
    m_aheadPos = end;
    for (qsizetype i = start; i < end; ++i) {
        const Record& song = m_ahead[i];
        ++m_read;
        QString category;
        if (m_builder.needsCategoryName() && categoryName(song.number(SON::CategoryID), category) != NoError) {
            const StoreError error = m_access.store().lastError();
            m_access.showStandardMessage(StdMsg::RetrievalError, QStringLiteral("Categories"));
            fail(error.displayText());
            finish(State::Stopped);
            return false;
        }
        m_builder.songLine(song, category, m_line);
        if (!addLine(m_line)) {
            finish(State::Stopped);
            return false;
        }
        ++m_written;
        if (m_percent < 100 && m_total > 0)
            m_percent = int(qMin<qint64>(100, m_read * 100 / m_total));
    }
    if (m_lastBatch && m_aheadPos >= m_ahead.size()) {
        finish(State::Completed);
        return false;
    }
    return true;
}

bool ExportJob::retryOrGiveUp() {
    const Message question{QStringLiteral("Cannot ADD to ") + m_path,
                           QStringLiteral("Error #%1 - %2").arg(m_writer.errorCode()).arg(m_writer.errorText()),
                           ButtonAbort | ButtonRetry, ButtonAbort};
    if (m_access.ask(question) == ButtonRetry)
        return true;
    fail(question.title + QStringLiteral(": ") + question.text);
    return false;
}

bool ExportJob::addLine(const QString& line) {
    if (m_writer.addLine(line))
        return true;
    while (retryOrGiveUp())
        if (m_writer.flush())
            return true;
    return false;
}

bool ExportJob::writeOut() {
    if (m_writer.flush())
        return true;
    while (retryOrGiveUp())
        if (m_writer.flush())
            return true;
    return false;
}

}  // namespace srk
