#pragma once

#include "exchange/TextDecoding.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace srk {

// Reads a comma-delimited file record by record. A record is one line (CRLF, LF, or the last line
// without a line end), except that a quoted field may hold line breaks and is read whole. A quote left
// open to the end of the file, or past the length limit, was a stray: the record is then the line alone.
// The text is UTF-8 (a byte-order mark is skipped); when it is not valid UTF-8 it is read as
// Windows-1252, from the first record that is not, to the end.
class CsvReader {
public:
    static constexpr int kMaxRecordCharacters = 16000;
    enum class Status { Record, End, TooLong, ReadError };

    CsvReader() = default;
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // False when the file cannot be opened; errorCode() and errorText() say why.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    qint64 size() const { return m_size; }
    // Back to the first record.
    bool rewind();

    // The next record without its line end. TooLong and ReadError stop the reading.
    Status next(QString& record);

    // Bytes taken from the file so far, line ends included.
    qint64 bytesRead() const { return m_offset; }
    // The line of the file where the last record (or the failure) began, counting from 1.
    qint64 lineNumber() const { return m_recordLine; }
    TextEncoding encoding() const { return m_encoding; }

    int errorCode() const { return m_errorCode; }
    QString errorText() const { return m_errorText; }

private:
    // Makes at least `need` bytes from m_pos available; false at the end of the file (or a read error).
    bool fill(qsizetype need);
    void setFileError();

    QFile m_file;
    qint64 m_size = 0;
    QByteArray m_buf;
    qsizetype m_pos = 0;  // next unread byte in m_buf
    bool m_eof = false;
    qint64 m_offset = 0;  // file offset of m_buf[m_pos]
    qint64 m_nextLine = 1;
    qint64 m_recordLine = 0;
    TextEncoding m_encoding = TextEncoding::Utf8;
    int m_errorCode = 0;
    QString m_errorText;
};

}  // namespace srk
