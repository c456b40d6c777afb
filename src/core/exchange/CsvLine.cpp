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
        field.value.reserve(64);
        while (i < m_line.size()) {
            const QChar c = m_line[i];
            if (c == quote) {
                if (i + 1 < m_line.size() && m_line[i + 1] == quote) {
                    field.value.append(quote);
                    i += 2;
                    continue;
                }
                break;
            }
            field.value.append(c);
            ++i;
        }
        // Past the closing quote and the comma after it; an unclosed field took the rest.
        m_pos = i < m_line.size() ? i + 2 : m_line.size();
        if (m_pos > m_line.size())
            m_pos = m_line.size();
        return field;
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
    QString out;
    out.reserve(value.size() + 2);
    out.append(QLatin1Char('"'));
    for (const QChar c : value) {
        if (c == QLatin1Char('"'))
            out.append(c);
        out.append(c);
    }
    out.append(QLatin1Char('"'));
    return out;
}

void appendCsvField(QString& line, bool first, const QString& text, bool quoted) {
    if (!first)
        line.append(QLatin1Char(','));
    line.append(quoted ? quoteCsvField(text) : text);
}

}  // namespace srk
