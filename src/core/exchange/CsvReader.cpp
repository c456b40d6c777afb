#include "exchange/CsvReader.h"

namespace srk {

namespace {

constexpr qsizetype kChunk = 1 << 20;
// Enough of the file to tell UTF-8 from Windows-1252 before the first record; later records that are
// not valid UTF-8 switch over themselves.
constexpr qsizetype kSniff = 1 << 20;

}  // namespace

void CsvReader::setFileError() {
    m_errorCode = int(m_file.error());
    m_errorText = m_file.errorString();
}

bool CsvReader::open(const QString& path) {
    close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        setFileError();
        return false;
    }
    m_size = m_file.size();
    return rewind();
}

void CsvReader::close() {
    if (m_file.isOpen())
        m_file.close();
    m_buf.clear();
    m_pos = 0;
    m_offset = 0;
}

bool CsvReader::rewind() {
    m_buf.clear();
    m_pos = 0;
    m_offset = 0;
    m_eof = false;
    m_nextLine = 1;
    m_recordLine = 0;
    if (!m_file.seek(0)) {
        setFileError();
        return false;
    }
    fill(kSniff);
    if (m_errorCode != 0)
        return false;
    if (m_buf.startsWith("\xEF\xBB\xBF")) {
        m_pos = 3;
        m_offset = 3;
        m_encoding = TextEncoding::Utf8;
    } else {
        m_encoding = isValidUtf8(m_buf.constData(), m_buf.size(), !m_eof) ? TextEncoding::Utf8
                                                                          : TextEncoding::Windows1252;
    }
    return true;
}

bool CsvReader::fill(qsizetype need) {
    while (m_buf.size() - m_pos < need) {
        if (m_eof)
            return false;
        if (m_pos > 0) {
            m_buf.remove(0, m_pos);
            m_pos = 0;
        }
        const qsizetype old = m_buf.size();
        m_buf.resize(old + qMax(kChunk, need));
        const qint64 got = m_file.read(m_buf.data() + old, m_buf.size() - old);
        if (got < 0) {
            m_buf.resize(old);
            setFileError();
            m_eof = true;
            return false;
        }
        m_buf.resize(old + got);
        if (got == 0)
            m_eof = true;
    }
    return true;
}

CsvReader::Status CsvReader::next(QString& record) {
    record.clear();
    if (m_errorCode != 0)
        return Status::ReadError;
    if (!fill(1))
        return m_errorCode != 0 ? Status::ReadError : Status::End;

    enum State { FieldStart, Unquoted, Quoted, AfterQuote };
    State state = FieldStart;
    const bool utf8 = m_encoding == TextEncoding::Utf8;
    qsizetype off = 0;              // from m_pos
    qsizetype chars = 0;
    qsizetype firstQuotedBreak = -1;
    qint64 breaks = 0;
    qsizetype end = -1;             // record bytes end here (line end excluded)
    qsizetype consumed = 0;         // bytes taken, line end included
    bool stray = false;
    m_recordLine = m_nextLine;

    for (;;) {
        if (m_pos + off >= m_buf.size() && !fill(off + 1)) {
            if (m_errorCode != 0)
                return Status::ReadError;
            // End of the file: the last line had no line end.
            if (state == Quoted && firstQuotedBreak >= 0)
                stray = true;
            else
                end = consumed = off;
            break;
        }
        if (state == Unquoted || state == Quoted) {
            // The ordinary bytes inside a field in one go; the loop below takes what ends them.
            const char stop = state == Unquoted ? ',' : '"';
            const char* data = m_buf.constData();
            const qsizetype size = m_buf.size();
            qsizetype at = m_pos + off;
            while (at < size) {
                const char b = data[at];
                if (b == stop || b == '\n' || b == '\r')
                    break;
                if (!utf8 || (static_cast<unsigned char>(b) & 0xC0) != 0x80) {
                    if (chars == kMaxRecordCharacters)
                        break;
                    ++chars;
                }
                ++at;
            }
            off = at - m_pos;
            if (at >= size)
                continue;
        }
        const char c = m_buf.at(m_pos + off);
        if (c == '\n' && state != Quoted) {
            end = off;
            consumed = off + 1;
            break;
        }
        if (utf8 ? (static_cast<unsigned char>(c) & 0xC0) != 0x80 : true) {
            if (c != '\r' && c != '\n' && ++chars > kMaxRecordCharacters) {
                if (state == Quoted && firstQuotedBreak >= 0) {
                    stray = true;
                    break;
                }
                return Status::TooLong;
            }
        }
        switch (state) {
        case FieldStart:
            state = c == '"' ? Quoted : c == ',' ? FieldStart : c == '\r' ? FieldStart : Unquoted;
            break;
        case Unquoted:
            if (c == ',')
                state = FieldStart;
            break;
        case Quoted:
            if (c == '"') {
                if (m_pos + off + 1 >= m_buf.size())
                    fill(off + 2);
                if (m_pos + off + 1 < m_buf.size() && m_buf.at(m_pos + off + 1) == '"')
                    ++off;
                else
                    state = AfterQuote;
            } else if (c == '\n') {
                if (firstQuotedBreak < 0)
                    firstQuotedBreak = off;
                ++breaks;
            }
            break;
        case AfterQuote:
            // The splitter skips the one character after a closing quote, whatever it is.
            if (c != '\r')
                state = FieldStart;
            break;
        }
        ++off;
    }
    if (stray) {
        end = firstQuotedBreak;
        consumed = firstQuotedBreak + 1;
        breaks = 0;
    }
    if (end > 0 && m_buf.at(m_pos + end - 1) == '\r')
        --end;
    const char* data = m_buf.constData() + m_pos;
    if (utf8 && !isValidUtf8(data, end)) {
        m_encoding = TextEncoding::Windows1252;
        if (end > kMaxRecordCharacters)
            return Status::TooLong;
    }
    record = decodeText(data, end, m_encoding);
    m_pos += consumed;
    m_offset += consumed;
    m_nextLine += 1 + breaks;
    return Status::Record;
}

}  // namespace srk
