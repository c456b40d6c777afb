#include "ui/services/ListColumns.h"

#include "settings/IniFile.h"
#include "settings/ListFormatMemory.h"
#include "text/DayNumber.h"
#include "text/Picture.h"
#include "text/PreferredDatePicture.h"
#include "text/ReleaseDate.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include <cmath>

namespace srk {

struct ListColumns::State {
    QPointer<QTableView> view;
    ListFormat format;
    QList<Picture> pictures; // one per column, parsed once
    QList<int> releaseDates; // columns holding release dates
    QString error;
    QString procedureName;
    QString listName;
    bool restored = false;
    QMetaObject::Connection sectionWatch;
    QMetaObject::Connection resizeWatch;
    QPointer<QObject> viewportWatch;
    // Per column: the width it asks for (designed or the user's, never below its contents) and the
    // share of the list's free width it was given on top.
    QVector<int> base;
    QVector<int> spare;
    QVector<int> laidOut; // base as the format gave it, before the user's drags
    bool laying = false; // our own section resizes, not the user's

    const ListFormatColumn* column(int i) const {
        return i >= 0 && i < format.columnCount() ? &format.columns().at(i) : nullptr;
    }

    QString display(int i, const QVariant& value) const {
        const ListFormatColumn* c = column(i);
        if (!c || !value.isValid() || value.isNull())
            return value.toString();
        const Picture& picture = pictures.at(i);
        if (!picture.isValid())
            return value.toString();
        // Text in a date, time or number column was shown by the model already.
        if (value.typeId() == QMetaType::QString && picture.kind != PictureKind::Text)
            return value.toString();
        if (releaseDates.contains(i))
            return formatReleaseDate(value, picture);
        return srk::format(value, picture);
    }

    Qt::Alignment alignment(int i) const {
        const ListFormatColumn* c = column(i);
        return alignmentFor(c ? c->justification : QChar(u'L'));
    }

    Qt::Alignment headerAlignment(int i) const {
        const ListFormatColumn* c = column(i);
        if (c && !c->headerJustification.isNull())
            return alignmentFor(c->headerJustification);
        return alignment(i);
    }

    static Qt::Alignment alignmentFor(QChar justification) {
        switch (justification.unicode()) {
        case u'R':
        case u'D': // decimal columns line up on the right
            return Qt::AlignRight | Qt::AlignVCenter;
        case u'C':
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
        }
    }

    int pixels(int dialogUnits) const {
        return ListColumns::toPixels(view ? view->font() : QApplication::font(), dialogUnits);
    }

    // Puts the format on the view's header and model as far as they have columns.
    void layOut() {
        if (!view)
            return;
        QHeaderView* header = view->horizontalHeader();
        // The header's model: a table view hands its new model to the header before it takes it itself.
        QAbstractItemModel* model = header->model();
        bool anyHeader = false;
        const int count = int(std::min<qsizetype>(format.columnCount(), header->count()));
        for (int i = 0; i < format.columnCount(); ++i)
            anyHeader = anyHeader || format.columns().at(i).header.has_value();
        header->setVisible(anyHeader);
        base = QVector<int>(count, 0);
        spare = QVector<int>(count, 0);
        for (int i = 0; i < count; ++i) {
            const ListFormatColumn& c = format.columns().at(i);
            header->setSectionResizeMode(i, c.resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
            if (model) {
                model->setHeaderData(i, Qt::Horizontal, c.header.value_or(QString()), Qt::DisplayRole);
                model->setHeaderData(i, Qt::Horizontal, headerAlignment(i).toInt(), Qt::TextAlignmentRole);
            }
            // The designed width is a minimum: never narrower than the header or the widest text
            // the picture makes.
            const int designed = c.width ? pixels(*c.width) : header->sectionSize(i);
            base[i] = std::max(designed, minimumWidth(i));
        }
        laidOut = base;
        shareFreeWidth();
        view->viewport()->update();
    }

    // The narrowest a column may be: its header, and for dates, times and numbers the widest text
    // its picture makes, in the list's font with the cell's margins and indent.
    int minimumWidth(int i) const {
        const ListFormatColumn* c = column(i);
        if (!view || !c)
            return 0;
        int width = 0;
        const QHeaderView* header = view->horizontalHeader();
        if (!header->isHidden() && c->header && !c->header->isEmpty())
            width = header->sectionSizeHint(i);
        const Picture& picture = pictures.at(i);
        if (picture.isValid() && picture.kind != PictureKind::Text) {
            const QFontMetrics metrics(view->font());
            int widest = 0;
            for (const QString& text : widestTexts(picture))
                widest = std::max(widest, metrics.horizontalAdvance(text));
            const QStyle* style = view->style();
            const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
            const int indent = c->indent ? pixels(*c->indent) : 0;
            // The right border takes a pixel of its own.
            width = std::max(width, widest + 2 * margin + indent + (c->rightBorder ? 1 : 0) + 1);
        }
        return width;
    }

    // Texts a picture makes that are as wide as any it can make: every month and weekday for dates,
    // the widest hours for times, all nines (and the overflow marks) for numbers.
    static QStringList widestTexts(const Picture& picture) {
        QStringList out;
        switch (picture.kind) {
        case PictureKind::Date:
            for (int month = 1; month <= 12; ++month)
                for (int day = 22; day <= 28; ++day)
                    out << srk::format(qint64(dayNumberFromDate(QDate(2888, month, day))), picture);
            break;
        case PictureKind::Time:
            for (int hours : {8, 12, 18, 23})
                out << srk::format(qint64(timeValue(hours, 58, 58, 88)), picture);
            break;
        case PictureKind::Number:
        case PictureKind::Pattern: {
            qint64 nines = 0;
            for (int digits = 1; digits <= std::min(picture.width, 15); ++digits) {
                nines = nines * 10 + 9;
                out << srk::format(nines, picture) << srk::format(-nines, picture);
                if (picture.decimals > 0)
                    out << srk::format(double(nines) / std::pow(10.0, picture.decimals), picture);
            }
            out << srk::format(nines, picture);
            break;
        }
        case PictureKind::Text:
        case PictureKind::Invalid:
            break;
        }
        return out;
    }

    // Text columns (left-justified, shown through a text picture or none) share the list's free width.
    bool takesFreeWidth(int i) const {
        const ListFormatColumn* c = column(i);
        if (!c)
            return false;
        const Picture& picture = pictures.at(i);
        return !picture.isValid() || picture.kind == PictureKind::Text;
    }

    // Sizes the columns: each its base width, and the width the list has to spare spread over the
    // text columns in proportion to their widths.
    void shareFreeWidth() {
        if (!view)
            return;
        QHeaderView* header = view->horizontalHeader();
        const int count = int(std::min<qsizetype>(base.size(), header->count()));
        int total = 0;
        int textTotal = 0;
        for (int i = 0; i < count; ++i) {
            total += header->isSectionHidden(i) ? 0 : base[i];
            if (takesFreeWidth(i) && !header->isSectionHidden(i))
                textTotal += base[i];
        }
        // Columns past the format keep their own width.
        for (int i = count; i < header->count(); ++i)
            total += header->isSectionHidden(i) ? 0 : header->sectionSize(i);
        // A list not shown yet has no width of its own: it gets its share when it shows.
        int free = view->isVisible() ? std::max(0, view->viewport()->width() - total) : 0;
        if (textTotal == 0)
            free = 0;
        laying = true;
        int given = 0;
        int lastText = -1;
        for (int i = 0; i < count; ++i) {
            spare[i] = 0;
            if (free > 0 && takesFreeWidth(i) && !header->isSectionHidden(i)) {
                spare[i] = int(qint64(free) * base[i] / textTotal);
                given += spare[i];
                lastText = i;
            }
        }
        // Rounding leaves a few pixels: the last text column takes them.
        if (lastText >= 0)
            spare[lastText] += free - given;
        for (int i = 0; i < count; ++i)
            if (header->sectionSize(i) != base[i] + spare[i])
                header->resizeSection(i, base[i] + spare[i]);
        laying = false;
    }

    // The user dragged a column's edge: that is its width now (not below its contents), with no share
    // of the free width on top.
    void userResized(int i, int size) {
        if (laying || i < 0 || i >= base.size())
            return;
        const int least = minimumWidth(i);
        spare[i] = 0;
        base[i] = std::max(size, least);
        if (size < least) {
            laying = true;
            view->horizontalHeader()->resizeSection(i, least);
            laying = false;
        }
    }
};

namespace {

// Shows each cell through its column's picture, justified and indented, with the column's right border
// and underline.
class ColumnDelegate : public QStyledItemDelegate {
public:
    ColumnDelegate(std::shared_ptr<ListColumns::State> state, QObject* parent)
        : QStyledItemDelegate(parent), m_state(std::move(state)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const ListFormatColumn* c = m_state->column(index.column());
        const int indent = c && c->indent ? m_state->pixels(*c->indent) : 0;
        if (indent == 0) {
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        } else {
            // The cell without its text, then the text moved in from its own side.
            const QString text = opt.text;
            opt.text.clear();
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
            QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
            if (opt.displayAlignment & Qt::AlignRight)
                textRect.setRight(textRect.right() - indent);
            else
                textRect.setLeft(textRect.left() + indent);
            painter->save();
            painter->setFont(opt.font);
            const bool selected = opt.state & QStyle::State_Selected;
            painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            const QString shown = QFontMetrics(opt.font).elidedText(text, opt.textElideMode, textRect.width());
            painter->drawText(textRect, int(opt.displayAlignment.toInt()), shown);
            painter->restore();
        }
        if (c && c->rightBorder) {
            painter->save();
            painter->setPen(opt.palette.color(QPalette::Mid));
            painter->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
            painter->restore();
        }
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const ListFormatColumn* c = m_state->column(index.column());
        if (!c)
            return;
        option->text = m_state->display(index.column(), index.data(Qt::DisplayRole));
        option->displayAlignment = m_state->alignment(index.column());
        if (c->underline)
            option->font.setUnderline(true);
    }

private:
    std::shared_ptr<ListColumns::State> m_state;
};

// Gives the columns their share of the list's free width whenever the list changes size.
class ViewportWatch : public QObject {
public:
    ViewportWatch(std::weak_ptr<ListColumns::State> state, QWidget* viewport)
        : QObject(viewport), m_state(std::move(state)) {
        viewport->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            if (auto state = m_state.lock())
                state->shareFreeWidth();
        return QObject::eventFilter(watched, event);
    }

private:
    std::weak_ptr<ListColumns::State> m_state;
};

} // namespace

ListColumns::ListColumns() : m_state(std::make_shared<State>()) {}

ListColumns::~ListColumns() {
    QObject::disconnect(m_state->sectionWatch);
    QObject::disconnect(m_state->resizeWatch);
    delete m_state->viewportWatch;
}

bool ListColumns::apply(QTableView* view, const QString& text) {
    if (!view) {
        m_state->error = QStringLiteral("There is no list to lay out.");
        return false;
    }
    ListFormat parsed = ListFormat::parse(text);
    if (!parsed.isValid()) {
        m_state->error = parsed.errorString();
        return false;
    }
    State& s = *m_state;
    s.error.clear();
    s.format = std::move(parsed);
    s.pictures.clear();
    for (const ListFormatColumn& c : s.format.columns())
        s.pictures.append(parsePicture(c.picture.value_or(QString())));

    if (s.view != view) {
        QObject::disconnect(s.sectionWatch);
        QObject::disconnect(s.resizeWatch);
        delete s.viewportWatch;
        s.view = view;
        view->setItemDelegate(new ColumnDelegate(m_state, view));
        std::weak_ptr<State> weak = m_state;
        s.sectionWatch = QObject::connect(view->horizontalHeader(), &QHeaderView::sectionCountChanged, view,
                                          [weak](int, int) {
                                              if (auto state = weak.lock())
                                                  state->layOut();
                                          });
        s.resizeWatch = QObject::connect(view->horizontalHeader(), &QHeaderView::sectionResized, view,
                                         [weak](int i, int, int size) {
                                             if (auto state = weak.lock())
                                                 state->userResized(i, size);
                                         });
        s.viewportWatch = new ViewportWatch(weak, view->viewport());
    }
    // The columns' right borders stand in for the grid; list boxes have no row headers.
    view->setShowGrid(false);
    view->verticalHeader()->hide();
    // Compact rows, as a list of many entries wants.
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(false);
    s.layOut();
    return true;
}

bool ListColumns::restore(QTableView* view, IniFile& positions, const QString& procedureName,
                          const QString& listName, const QString& designedFormat,
                          const QString& datePreference) {
    const QString design = applyPreferredDatePicture(designedFormat, datePreference, m_state->releaseDates);
    const ListFormat designed = ListFormat::parse(design);
    if (!designed.isValid() || !view) {
        m_state->error = view ? designed.errorString() : QStringLiteral("There is no list to lay out.");
        return false;
    }
    const QString chosen = restoreListFormat(positions, procedureName, listName, design);
    if (!apply(view, chosen) && !apply(view, design))
        return false;
    m_state->procedureName = procedureName;
    m_state->listName = listName;
    m_state->restored = true;
    return true;
}

void ListColumns::save(IniFile& positions) const {
    if (m_state->restored)
        saveListFormat(positions, m_state->procedureName, m_state->listName, currentFormat());
}

QString ListColumns::currentFormat() const {
    const State& s = *m_state;
    ListFormat out = s.format;
    if (s.view) {
        const QHeaderView* header = s.view->horizontalHeader();
        const int count = int(std::min<qsizetype>(out.columnCount(), header->count()));
        for (int i = 0; i < count; ++i) {
            const ListFormatColumn& c = out.columns().at(i);
            // The share of free width belongs to the window's size, not to the layout.
            const int shown = header->sectionSize(i) - (i < s.spare.size() ? s.spare[i] : 0);
            const int asked = i < s.laidOut.size() ? s.laidOut[i] : -1;
            // Keep the stored width while it still gives the size shown, so that widths do not drift
            // by rounding from one session to the next.
            if (c.width ? (s.pixels(*c.width) == shown || asked == shown) : shown == header->defaultSectionSize())
                continue;
            out.setWidth(i, toDialogUnits(s.view->font(), shown));
        }
    }
    return out.toString();
}

const ListFormat& ListColumns::format() const {
    return m_state->format;
}

void ListColumns::setReleaseDateColumns(const QList<int>& columns) {
    m_state->releaseDates = columns;
    if (m_state->view)
        m_state->view->viewport()->update();
}

QString ListColumns::errorString() const {
    return m_state->error;
}

QString ListColumns::display(int column, const QVariant& value) const {
    return m_state->display(column, value);
}

QString ListColumns::header(int column) const {
    const ListFormatColumn* c = m_state->column(column);
    return c ? c->header.value_or(QString()) : QString();
}

Qt::Alignment ListColumns::alignment(int column) const {
    return m_state->alignment(column);
}

Qt::Alignment ListColumns::headerAlignment(int column) const {
    return m_state->headerAlignment(column);
}

int ListColumns::field(int column) const {
    const ListFormatColumn* c = m_state->column(column);
    return c ? c->field : 0;
}

namespace {
int averageWidth(const QFont& font) {
    return std::max(1, QFontMetrics(font).averageCharWidth());
}
} // namespace

int ListColumns::toPixels(const QFont& font, int dialogUnits) {
    return qRound(dialogUnits * averageWidth(font) / 4.0);
}

int ListColumns::toDialogUnits(const QFont& font, int pixels) {
    return qRound(pixels * 4.0 / averageWidth(font));
}

} // namespace srk
