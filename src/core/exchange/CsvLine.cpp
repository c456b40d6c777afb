#include "exchange/CsvLine.h"

namespace srk {

namespace {

bool onlyBlanksFrom(QStringView line, qsizetype pos) {
    for (qsizetype i = pos; i < line.size(); ++i)
        if (line[i] != QLatin1Char(' '))
            return false;
    return true;
}

}  // namespace

CsvField CsvLineSplitter::next() {
    CsvField field;
    QStringView value;
    field.kind = next(value, field.value);
    if (field.kind != CsvFieldKind::None && value.data() != field.value.constData())
        field.value = value.toString();
    return field;
}

CsvFieldKind CsvLineSplitter::next(QStringView& value, QString& scratch) {
    value = QStringView();
    if (m_pos >= m_line.size() || onlyBlanksFrom(m_line, m_pos)) {
        m_pos = m_line.size();
        return CsvFieldKind::None;
    }
    const QChar quote = QLatin1Char('"');
    if (m_line[m_pos] == quote) {
        const qsizetype first = m_pos + 1;
        qsizetype i = first;
        bool copied = false;  // a doubled quote was met: the value is built in scratch
        for (;;) {
            const qsizetype q = m_line.indexOf(quote, i);
            // Never closed: the rest of the record.
            const qsizetype stop = q < 0 ? m_line.size() : q;
            const bool doubled = q >= 0 && q + 1 < m_line.size() && m_line[q + 1] == quote;
            if (doubled && !copied) {
                scratch.resize(0);
                copied = true;
            }
            if (copied)
                scratch.append(m_line.mid(i, stop - i));
            if (doubled) {
                scratch.append(quote);
                i = q + 2;
                continue;
            }
            value = copied ? QStringView(scratch) : m_line.mid(first, stop - first);
            // Past the closing quote and the comma after it.
            m_pos = q < 0 ? m_line.size() : qMin(q + 2, m_line.size());
            return CsvFieldKind::Quoted;
        }
    }
    const qsizetype comma = m_line.indexOf(QLatin1Char(','), m_pos);
    if (comma < 0) {
        value = m_line.mid(m_pos);
        m_pos = m_line.size();
    } else {
        value = m_line.mid(m_pos, comma - m_pos);
        m_pos = comma + 1;
    }
    return CsvFieldKind::Unquoted;
}

QVector<CsvField> splitCsvLine(QStringView line) {
    QVector<CsvField> fields;
    CsvLineSplitter splitter(line);
    for (CsvField f = splitter.next(); f.kind != CsvFieldKind::None; f = splitter.next())
        fields.push_back(std::move(f));
    return fields;
}

QString quoteCsvField(const QString& value) {
    const QChar quote = QLatin1Char('"');
    QString out;
    out.reserve(value.size() + 2);
    out.append(quote);
    if (value.contains(quote)) {
        for (const QChar c : value) {
            if (c == quote)
                out.append(c);
            out.append(c);
        }
    } else {
        out.append(value);
    }
    out.append(quote);
    return out;
}

void appendCsvField(QString& line, bool first, const QString& text, bool quoted) {
    if (!first)
        line.append(QLatin1Char(','));
    if (!quoted) {
        line.append(text);
        return;
    }
    const QChar quote = QLatin1Char('"');
    line.append(quote);
    if (text.contains(quote))
        for (const QChar c : text) {
            if (c == quote)
                line.append(c);
            line.append(c);
        }
    else
        line.append(text);
    line.append(quote);
}

}  // namespace srk
