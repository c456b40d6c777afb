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
    if (m_pos >= m_line.size() || onlyBlanksFrom(m_line, m_pos)) {
        m_pos = m_line.size();
        return field;
    }
    const QChar quote = QLatin1Char('"');
    if (m_line[m_pos] == quote) {
        field.kind = CsvFieldKind::Quoted;
        qsizetype i = m_pos + 1;
        for (;;) {
            const qsizetype q = m_line.indexOf(quote, i);
            if (q < 0) {
                // Never closed: the rest of the record.
                field.value.append(m_line.mid(i));
                m_pos = m_line.size();
                return field;
            }
            field.value.append(m_line.mid(i, q - i));
            if (q + 1 < m_line.size() && m_line[q + 1] == quote) {
                field.value.append(quote);
                i = q + 2;
                continue;
            }
            // Past the closing quote and the comma after it.
            m_pos = qMin(q + 2, m_line.size());
            return field;
        }
    }
    field.kind = CsvFieldKind::Unquoted;
    const qsizetype comma = m_line.indexOf(QLatin1Char(','), m_pos);
    if (comma < 0) {
        field.value = m_line.mid(m_pos).toString();
        m_pos = m_line.size();
    } else {
        field.value = m_line.mid(m_pos, comma - m_pos).toString();
        m_pos = comma + 1;
    }
    return field;
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
