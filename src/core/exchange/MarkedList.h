#pragma once

#include <QString>
#include <QVector>

namespace srk {

struct FieldRow {
    QString name;
    QString picture;
    bool marked = false;  // marked rows show highlighted
};

// A list of field rows with the export window's marking rules: a plain click marks one row, Ctrl+click
// or the space bar toggles one, Shift with a click or a moving key marks the range from the anchor.
class MarkedList {
public:
    enum class Key { Up, Down, PageUp, PageDown, Home, End };

    QVector<FieldRow>& rows() { return m_rows; }
    const QVector<FieldRow>& rows() const { return m_rows; }
    int size() const { return int(m_rows.size()); }
    int current() const { return m_current; }
    int anchor() const { return m_anchor; }
    void setCurrent(int row) { m_current = (row >= 0 && row < size()) ? row : -1; }
    void clearAnchor() { m_anchor = -1; }

    void click(int row);
    void ctrlClick(int row);
    void space();
    void shiftClick(int row);
    // A moving key; with Shift it marks from the anchor. pageRows is how many rows a page holds.
    void key(Key key, bool shift, int pageRows = 10);

    QVector<int> markedRows() const;
    int find(const QString& name) const;

private:
    void markRange(int to);

    QVector<FieldRow> m_rows;
    int m_current = -1;
    int m_anchor = -1;
};

}  // namespace srk
