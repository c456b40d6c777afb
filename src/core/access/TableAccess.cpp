#include "access/TableAccess.h"

#include "access/StandardMessages.h"
#include "store/Table.h"

namespace srk {

TableAccess::TableAccess(Store& store, MessageService& messages) : m_store(&store), m_messages(&messages) {}

AccessResult TableAccess::openTable(const TableDef& def) {
    int& count = m_useCounts[def.label];
    const bool first = count == 0;
    ++count;
    if (!first && m_store->isOpen(def))
        return {};
    const AccessResult result = guardedOpen(def);
    if (result.fatal && m_stopText.isEmpty())
        m_stopText = result.stopText;
    if (result.ok()) {
        m_defs.insert(def.label, &def);
        m_changes.attach(*m_store);
        m_changes.noteOpened(def);
    }
    return result;
}

void TableAccess::closeTable(const TableDef& def) {
    auto it = m_useCounts.find(def.label);
    if (it == m_useCounts.end() || it.value() <= 0)
        return;
    if (--it.value() == 0) {
        m_store->closeFile(def);
        // A_Songs shares the song file: its versions are kept while either is open.
        bool fileStillOpen = false;
        for (const TableDef* other : std::as_const(m_defs))
            if (other != &def && m_store->isOpen(*other) &&
                Store::schemaName(*other) == Store::schemaName(def))
                fileStillOpen = true;
        if (!fileStillOpen)
            m_changes.noteClosed(def);
    }
}

int TableAccess::checkOtherStations() {
    QVector<const TableDef*> open;
    for (const TableDef* def : std::as_const(m_defs))
        if (m_store->isOpen(*def))
            open << def;
    return m_changes.checkOtherStations(open);
}

bool TableAccess::runJob(Job& job, const QString& title, const QString& textLine) {
    return m_runner ? m_runner->run(job, title, textLine) : runToEnd(job);
}

AccessResult TableAccess::stop(StdMsg message, const QString& text1) {
    const int code = currentError().code;
    showStandardMessage(message, text1);
    return {code, true, standardMessageStopText(message)};
}

AccessResult TableAccess::guardedOpen(const TableDef& def) {
    int rc = m_store->openFile(def);
    if (rc == FileLocked) {
        // A station that died may have left its lock; give it the time to clear, then try once more.
        Table(*m_store, def).sendCommand(QStringLiteral("Recover=10"));
        rc = m_store->openFile(def);
    }
    switch (rc) {
    case NoError:
    case FileAlreadyOpen:
        return {};
    case FileNotFound:
        if (m_store->createFile(def))
            return stop(StdMsg::FileCreationError, def.label);
        if (m_store->openFile(def))
            return stop(StdMsg::CreatedFileOpenError, def.label);
        return {};
    case KeysMustBeRebuilt:
        if (showStandardMessage(StdMsg::InvalidKey, def.label) != ButtonYes)
            return {KeysMustBeRebuilt, true, standardMessageStopText(StdMsg::InvalidKey)};
        if (m_store->buildKeys(def))
            return stop(StdMsg::KeyRebuildError, def.label);
        rc = m_store->openFile(def);
        break;
    case LayoutDiffers:
        if (m_store->upgradeFile(def))
            return stop(StdMsg::InvalidFile, def.label);
        rc = m_store->openFile(def);
        if (rc && rc != FileAlreadyOpen)
            return stop(StdMsg::InvalidFile, def.label);
        return {};
    default:
        break;
    }
    if (rc == NoError || rc == FileAlreadyOpen)
        return {};
    if (rc == InvalidDataFile || rc == DriverFault || rc == DriverError) {
        // The file may only be of an older layout; keep the open's error in case converting fails too.
        saveError();
        if (m_store->upgradeFile(def) == NoError) {
            m_saved = StoreError();
            rc = m_store->openFile(def);
            if (rc == NoError || rc == FileAlreadyOpen)
                return {};
        }
    }
    // Name the file that failed: a damaged anchor file fails every table's open.
    const QString failed = currentError().fileName;
    return stop(StdMsg::FileAccessError, failed.isEmpty() ? m_store->filePath(def) : failed);
}

void TableAccess::saveError() {
    m_saved = m_store->lastError();
    if (m_saved.text.size() > 255)
        m_saved.text.truncate(255);
}

const StoreError& TableAccess::currentError() const {
    return m_saved.isError() ? m_saved : m_store->lastError();
}

int TableAccess::showStandardMessage(StdMsg number, const QString& text1, const QString& text2) {
    const StoreError error = currentError();
    m_saved = StoreError();
    return m_messages->ask(
        standardMessage(number, text1, text2, error.displayText(), error.code, error.fileName));
}

} // namespace srk
