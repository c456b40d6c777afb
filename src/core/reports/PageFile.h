#pragma once

// One printed page as a small text file of drawing items, so that a report never holds its pages in
// memory and a renderer can paint any page onto any device later.
//
// The file is UTF-8 text, one item per line, fields separated by single blanks, the last field of a
// line running to its end. Coordinates and sizes are thousandths of an inch from the page's top left.
//
//   SRKPAGE 1                         first line: format and version
//   P <width> <height>                page size
//   F <rgb> <tenths-pt> <flags> <face> font for the texts that follow (rgb red in the low byte;
//                                     flags 1 bold, 2 italic, 4 underline, 8 strike-out)
//   T <x> <y> <w> <h> <align> <text>  text clipped to its box; align L, C or R
//   L <x1> <y1> <x2> <y2> <pen>       line, pen width in thousandths
//   R <x> <y> <w> <h> <pen> <fill>    box; fill an rgb value or -1 for none
//   I <x> <y> <w> <h> <path>          picture file scaled into its box
//
// In texts and paths "\\" stands for a backslash and "\n" for a line break. Lines the reader does not
// know are skipped, so later versions may add items.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QVector>

namespace srk {

enum class PageAlign { Left, Center, Right };

struct PageFont {
    QString face;
    int tenthsOfPoint = 80;
    int flags = 0;
    int rgb = 0;

    enum Flag { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
    bool operator==(const PageFont&) const = default;
};

struct PageItem {
    enum Kind { Font, Text, Line, Box, Image };
    Kind kind = Text;
    int x = 0, y = 0, w = 0, h = 0;  // a line runs from (x, y) to (w, h)
    PageAlign align = PageAlign::Left;
    int pen = 0;
    int fill = -1;
    QString text;   // text, or the picture's path
    PageFont font;  // Font items
};

struct Page {
    int width = 8500;
    int height = 11000;
    QVector<PageItem> items;
};

// Collects one page's lines and writes them in one go.
class PageWriter {
public:
    PageWriter(int width, int height);
    void font(const PageFont& font);
    void text(int x, int y, int w, int h, PageAlign align, QStringView text);
    void line(int x1, int y1, int x2, int y2, int pen);
    void box(int x, int y, int w, int h, int pen, int fill = -1);
    void image(int x, int y, int w, int h, const QString& path);

    const QByteArray& bytes() const { return m_bytes; }
    // False, with the reason, when the file cannot be written whole.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    QByteArray m_bytes;
    PageFont m_font;
    bool m_haveFont = false;
};

// Reads a page file; false (with the reason) when it cannot be read or is not a page file.
bool readPage(const QString& path, Page& out, QString* error = nullptr);
bool parsePage(const QByteArray& bytes, Page& out, QString* error = nullptr);

}  // namespace srk
