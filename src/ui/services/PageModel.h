#pragma once

#include "store/PageCursor.h"

#include <QAbstractTableModel>
#include <QVector>

namespace srk {

// One list column: which record of the row (0 the primary, 1.. the related tables in join order),
// which field, and the display picture its values go through.
struct PageColumn {
    int table = 0;
    int field = 0;
    QString picture;
    QString header;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool releaseDate = false; // a bare year shows as the year whatever the picture
};

// A list model showing a page cursor's page: as many rows as the page holds, never the table. Moves go
// through the model so it can tell the view exactly which rows came and went. Browses subclass it for
// their own columns, colours or icons (override cellData).
class PageModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        PositionRole = Qt::UserRole + 1, // the row's record position (text)
        HighlightRole,                   // true on the highlighted row
        ValueRole,                       // the stored value, unformatted
    };

    explicit PageModel(PageCursor& cursor, QObject* parent = nullptr);

    PageCursor& cursor() const { return *m_cursor; }

    void setColumns(const QVector<PageColumn>& columns);
    const QVector<PageColumn>& columns() const { return m_columns; }
    void setColumnPicture(int column, const QString& picture);
    void setColumnAlignment(int column, Qt::Alignment alignment);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Takes a column's header text or alignment (the list's format writes them here).
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

    // The page row shown at a model row (nullptr outside the page).
    const PageRow* pageRow(int row) const;
    int highlight() const { return m_cursor->highlight(); }

    // The cursor's moves; each returns its code and tells the view what changed.
    int open();
    int top();
    int bottom();
    int lineUp();
    int lineDown();
    int pageUp();
    int pageDown();
    int rebuildAt(const Record& target);
    int reload();
    // Reads the page again after its tables changed: the same stretch of the order, the highlight kept on
    // its record (followed to where it sorts now when it left the page). When the same records are
    // still shown only their values are reported as changed, so the view keeps its place.
    int refresh();
    int removeHighlighted();
    int setPageSize(int rows);
    int setKey(int key, PageCursor::Placement placement = PageCursor::Placement::AtHighlighted);
    int setFilter(const SqlCondition& filter,
                  PageCursor::Placement placement = PageCursor::Placement::AtHighlighted);
    int setOrder(int key, const SqlCondition& filter,
                 PageCursor::Placement placement = PageCursor::Placement::AtHighlighted);
    void setHighlight(int row);

Q_SIGNALS:
    void highlightChanged(int row);
    // A read failed (not the end of the order); the code is the store's.
    void readFailed(int code);
    // The engine could not read the filter; the page goes on unfiltered.
    void filterRefused(int code);

protected:
    // The value of a column in a row for a role; the default shows the field through its picture.
    virtual QVariant cellData(const PageRow& row, int column, int role) const;
    // The stored value of a column (blank when the related record is missing).
    QVariant fieldValue(const PageRow& row, const PageColumn& column) const;
    // Brings the shown rows in line with the cursor after a move and reports the code.
    int sync(int code);
    // The same after an open or an order change, where a refused filter is not a read failure.
    int syncOrder(int code);

private:
    PageCursor* m_cursor;
    QVector<PageColumn> m_columns;
    // The rows the view was last told about; changes are reported against these.
    QVector<PageRow> m_shown;
    int m_shownHighlight = -1;
};

// Hands the stored values to the view, which shows them through its column pictures (so the preferred
// date picture and the user's list layout apply).
class StoredValuePageModel : public PageModel {
public:
    using PageModel::PageModel;

protected:
    QVariant cellData(const PageRow& row, int column, int role) const override;
};

} // namespace srk
