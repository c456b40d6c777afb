#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace srk {

// Writes a comma-delimited file: UTF-8 without a byte-order mark, CRLF after every line. Lines collect
// in a buffer that goes to the file whole; when a write fails (a full disk) the file is cut back to its
// last complete line, so it never ends in half a line, and the lines stay buffered for a retry.
class CsvWriter {
public:
    CsvWriter() = default;
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    // Makes the file empty (creating it when missing). False: errorCode()/errorText() say why.
    bool create(const QString& path);
    // Opens the created file for writing; on failure the created file is removed.
    bool open();
    // Takes one line (without its line end); false when the buffer had to be written and could not be.
    bool addLine(QStringView line);
    // Writes what is buffered; false on failure, the buffered lines kept for another try.
    bool flush();
    // Gives up the lines not yet written.
    void dropPending();
    // Flushes and closes; false when either failed.
    bool close();
    bool isOpen() const { return m_fd >= 0; }

    // Bytes of complete lines in the file.
    qint64 written() const { return m_written; }
    int errorCode() const { return m_errorCode; }
    QString errorText() const { return m_errorText; }

private:
    void setError(int code);

    QString m_path;
    int m_fd = -1;
    QByteArray m_pending;
    qint64 m_written = 0;
    int m_errorCode = 0;
    QString m_errorText;
};

}  // namespace srk
