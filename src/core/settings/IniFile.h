#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace srk {

// A settings file of sections, keys and text values, read and written by hand so that key names such as
// "SRCF?Browse:1" or "GLO:Delimiter" stand in the file exactly as written.
//
// Reading follows the old platform's rules:
// - section and key look-up ignores case; the file keeps the spelling it first got;
// - a value is everything after the first "=", blanks around keys and values are dropped;
// - when a key occurs twice the first one wins; a section that occurs twice reads as one, first copy first;
// - lines without "=" and lines starting with ";" are ignored but kept in place when the file is rewritten;
// - CRLF and LF line ends are both read; a rewrite keeps the line end the file already used (LF for a
//   new file) and always ends with a line end;
// - the text is UTF-8; a line that is not valid UTF-8 is read as Windows-1252 (see IniText.h), and the
//   file is written back as UTF-8;
// - a file larger than kMaxFileSize is no settings file: it is not read (load() fails with a message)
//   and never overwritten, so the program runs on defaults and the file stays for the user to look at.
// Values are single-line: line breaks in a written value become blanks, and surrounding blanks are dropped.
//
// One IniFile per file and program: two objects over the same file would overwrite each other's saves.
class IniFile {
public:
    // Every window's placement and column layout fit in a few tens of kilobytes.
    static constexpr qsizetype kMaxFileSize = 4 * 1024 * 1024;

    IniFile() = default;
    // Loads `path`; see load().
    explicit IniFile(const QString& path);

    // Replaces the contents with those of `path`. A missing file is an empty, valid settings file. Returns
    // false (see errorString()) when the file exists but cannot be read or is too large; such a file is
    // never overwritten.
    bool load(const QString& path);
    const QString& path() const { return m_path; }

    // Missing key: `defaultValue`. Present key: its value, which may be blank.
    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Missing key: `defaultValue`. Present but blank or not a number: 0. A decimal number is cut to its
    // whole part; a number out of the int range counts as not a number.
    int readInt(const QString& section, const QString& key, int defaultValue = 0) const;
    bool contains(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const;

    // Returns false for a name the file cannot hold (blank, a key containing "=" or starting with "[" or
    // ";", a section containing "]") or when auto-save is on and saving failed. Writing the value the key
    // already has changes nothing.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);
    // Removes every occurrence of the key. Returns true when there was one (and auto-save did not fail).
    bool removeKey(const QString& section, const QString& key);

    // Names in file order, each once, in the spelling first met.
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    // When on, every change is saved at once, as the platform's own settings calls did.
    void setAutoSave(bool on) { m_autoSave = on; }
    bool autoSave() const { return m_autoSave; }

    bool isDirty() const { return m_dirty; }
    // Writes the file (atomically, creating its folder) when something changed since the last load or
    // save. Returns false with errorString() set when it cannot.
    bool save();
    const QString& errorString() const { return m_error; }

private:
    struct Line {
        QString text; // the line as it stands in the file
        QString key;  // blank for lines that are not entries
        QString value;
    };
    struct Block {
        QString name; // blank for the lines before the first section header
        bool hasHeader = false;
        QString header;
        QList<Line> lines;
    };
    struct Spot {
        qsizetype block = -1;
        qsizetype line = -1;
    };

    void parse(const QString& text);
    Spot find(const QString& section, const QString& key) const;
    qsizetype findBlock(const QString& section) const;
    bool changed();

    QString m_path;
    QList<Block> m_blocks{Block{}}; // the first one holds the lines before any section header
    QString m_error;
    bool m_crlf = false;
    bool m_bom = false;
    bool m_dirty = false;
    bool m_autoSave = false;
    bool m_unreadable = false;
};

} // namespace srk
