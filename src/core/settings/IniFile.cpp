#include "settings/IniFile.h"

#include "settings/IniText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>

namespace srk {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool validSection(const QString& name) {
    return !name.isEmpty() && !name.contains(u']') && !name.contains(u'\n') && !name.contains(u'\r');
}

bool validKey(const QString& key) {
    return !key.isEmpty() && !key.contains(u'=') && !key.contains(u'\n') && !key.contains(u'\r') &&
           !key.startsWith(u'[') && !key.startsWith(u';');
}

QString singleLine(const QString& value) {
    QString out = value;
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out.trimmed();
}

// Numbers as the old runtime took them: optional sign, digits, optional decimals; nothing else.
int toNumber(const QString& raw) {
    const QString text = raw.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 whole = 0;
    qsizetype digits = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        whole = whole * 10 + (text[i].unicode() - u'0');
        if (whole > qint64(std::numeric_limits<int>::max()) + 1)
            return 0;
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != text.size())
        return 0;
    const qint64 value = negative ? -whole : whole;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return 0;
    return int(value);
}

} // namespace

IniFile::IniFile(const QString& path) {
    load(path);
}

bool IniFile::load(const QString& path) {
    m_path = path;
    m_blocks.clear();
    m_error.clear();
    m_crlf = false;
    m_bom = false;
    m_dirty = false;
    m_unreadable = false;

    QFile file(path);
    if (!file.exists()) {
        parse(QString());
        return true;
    }
    const QString shownPath = QDir::toNativeSeparators(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        m_unreadable = true;
        m_error = QStringLiteral("Cannot read the settings file \"%1\": %2")
                      .arg(shownPath,
                           QFileInfo(path).isDir() ? QStringLiteral("it is a folder") : file.errorString());
        parse(QString());
        return false;
    }
    // Read one byte past the limit: the size a file reports is not to be trusted (it may still grow).
    QByteArray data = file.read(kMaxFileSize + 1);
    if (data.size() > kMaxFileSize) {
        m_unreadable = true;
        m_error = QStringLiteral("The settings file \"%1\" is larger than %2 MB, too large to be a settings "
                                 "file. The program goes on with the default settings and leaves that file as "
                                 "it is.")
                      .arg(shownPath)
                      .arg(kMaxFileSize / (1024 * 1024));
        parse(QString());
        return false;
    }
    if (data.startsWith("\xEF\xBB\xBF")) {
        m_bom = true;
        data.remove(0, 3);
    }
    const qsizetype firstBreak = data.indexOf('\n');
    m_crlf = firstBreak > 0 && data.at(firstBreak - 1) == '\r';
    parse(decodeIniText(data));
    return true;
}

void IniFile::parse(const QString& text) {
    m_blocks.append(Block{});
    QStringList lines = text.split(u'\n');
    // A file ending in a line break leaves one empty piece behind it, which is no line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            if (close > 0) {
                Block block;
                block.name = trimmed.mid(1, close - 1).trimmed();
                block.hasHeader = true;
                block.header = line;
                m_blocks.append(block);
                continue;
            }
        }
        Line entry;
        entry.text = line;
        const qsizetype equals = line.indexOf(u'=');
        if (!trimmed.startsWith(u';') && equals >= 0) {
            const QString key = line.left(equals).trimmed();
            if (!key.isEmpty()) {
                entry.key = key;
                entry.value = line.mid(equals + 1).trimmed();
            }
        }
        m_blocks.last().lines.append(entry);
    }
}

qsizetype IniFile::findBlock(const QString& section) const {
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        if (m_blocks[b].hasHeader && sameName(m_blocks[b].name, section))
            return b;
    }
    return -1;
}

IniFile::Spot IniFile::find(const QString& section, const QString& key) const {
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    if (s.isEmpty() || k.isEmpty())
        return {};
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        const Block& block = m_blocks[b];
        if (!block.hasHeader || !sameName(block.name, s))
            continue;
        for (qsizetype l = 0; l < block.lines.size(); ++l) {
            if (!block.lines[l].key.isEmpty() && sameName(block.lines[l].key, k))
                return {b, l};
        }
    }
    return {};
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    const Spot spot = find(section, key);
    if (spot.block < 0)
        return defaultValue;
    return m_blocks[spot.block].lines[spot.line].value;
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const {
    const Spot spot = find(section, key);
    if (spot.block < 0)
        return defaultValue;
    return toNumber(m_blocks[spot.block].lines[spot.line].value);
}

bool IniFile::contains(const QString& section, const QString& key) const {
    return find(section, key).block >= 0;
}

bool IniFile::hasSection(const QString& section) const {
    return findBlock(section.trimmed()) >= 0;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    if (!validSection(s) || !validKey(k))
        return false;
    const QString v = singleLine(value);

    const Spot spot = find(s, k);
    if (spot.block >= 0) {
        Line& line = m_blocks[spot.block].lines[spot.line];
        if (line.value == v)
            return true;
        line.value = v;
        line.text = line.key + u'=' + v;
        return changed();
    }

    const Line line{k + u'=' + v, k, v};
    qsizetype b = findBlock(s);
    if (b < 0) {
        // Keep sections apart by a blank line, as people write them.
        Block& last = m_blocks.last();
        if (!last.lines.isEmpty() ? !last.lines.last().text.trimmed().isEmpty() : last.hasHeader)
            last.lines.append(Line{});
        Block block;
        block.name = s;
        block.hasHeader = true;
        block.header = u'[' + s + u']';
        m_blocks.append(block);
        b = m_blocks.size() - 1;
    }
    // A new key goes after the section's last non-blank line, before the blank lines that part it from the
    // next section.
    QList<Line>& lines = m_blocks[b].lines;
    qsizetype at = lines.size();
    while (at > 0 && lines[at - 1].text.trimmed().isEmpty())
        --at;
    lines.insert(at, line);
    return changed();
}

bool IniFile::writeInt(const QString& section, const QString& key, int value) {
    return writeString(section, key, QString::number(value));
}

bool IniFile::removeKey(const QString& section, const QString& key) {
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    bool removed = false;
    for (Block& block : m_blocks) {
        if (!block.hasHeader || !sameName(block.name, s))
            continue;
        removed |= block.lines.removeIf(
                       [&](const Line& line) { return !line.key.isEmpty() && sameName(line.key, k); }) > 0;
    }
    return removed && changed();
}

QStringList IniFile::sections() const {
    QStringList names;
    for (const Block& block : m_blocks) {
        if (block.hasHeader && !names.contains(block.name, Qt::CaseInsensitive))
            names.append(block.name);
    }
    return names;
}

QStringList IniFile::keys(const QString& section) const {
    const QString s = section.trimmed();
    QStringList names;
    for (const Block& block : m_blocks) {
        if (!block.hasHeader || !sameName(block.name, s))
            continue;
        for (const Line& line : block.lines) {
            if (!line.key.isEmpty() && !names.contains(line.key, Qt::CaseInsensitive))
                names.append(line.key);
        }
    }
    return names;
}

bool IniFile::changed() {
    m_dirty = true;
    return m_autoSave ? save() : true;
}

bool IniFile::save() {
    if (!m_dirty)
        return true;
    if (m_path.isEmpty()) {
        m_error = QStringLiteral("The settings have no file name.");
        return false;
    }
    const QString shownPath = QDir::toNativeSeparators(m_path);
    if (m_unreadable) {
        m_error = QStringLiteral("The settings file \"%1\" could not be read, so it is not overwritten.")
                      .arg(shownPath);
        return false;
    }

    const QString eol = m_crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const Block& block : m_blocks) {
        if (block.hasHeader)
            text += block.header + eol;
        for (const Line& line : block.lines)
            text += line.text + eol;
    }
    QByteArray data = text.toUtf8();
    if (m_bom)
        data.prepend("\xEF\xBB\xBF");

    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        m_error = QStringLiteral("Cannot create the folder of the settings file \"%1\".").arg(shownPath);
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        m_error =
            QStringLiteral("Cannot write the settings file \"%1\": %2").arg(shownPath, file.errorString());
        file.cancelWriting();
        return false;
    }
    m_error.clear();
    m_dirty = false;
    return true;
}

} // namespace srk
