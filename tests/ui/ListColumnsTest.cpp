#include "ui/services/ListColumns.h"

#include "settings/IniFile.h"
#include "support/TempFolder.h"
#include "text/DayNumber.h"

#include <QDate>
#include <QFontMetrics>
#include <QHeaderView>
#include <QAbstractItemDelegate>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace srk;
using namespace Qt::StringLiterals;

namespace {

const QString kDesign = u"75L(2)|M~Artist~@s40@23R(2)|M~Time~C(0)@t4b@"_s;
const QString kWindow = u"BrowseAlbums"_s;
const QString kList = u"?Browse:1"_s;

// A list of two columns and a few rows, shown on screen so that the header takes mouse events. By
// default too narrow to have free width for its text columns.
struct Fixture {
    QStandardItemModel model{3, 2};
    QTableView view;

    explicit Fixture(int width = 150) {
        view.setModel(&model);
        view.resize(width, 300);
    }
    QHeaderView* header() { return view.horizontalHeader(); }
    int px(int dialogUnits) const { return ListColumns::toPixels(view.font(), dialogUnits); }
};

} // namespace

TEST(ListColumns, LaysTheViewOutFromTheFormat) {
    Fixture f;
    ListColumns columns;
    ASSERT_TRUE(columns.apply(&f.view, u"75L(2)|M~Artist~@s40@23R(2)~Time~C(0)@t4b@40D~Sum~@n7.2@"_s));

    EXPECT_EQ(f.model.headerData(0, Qt::Horizontal).toString(), u"Artist"_s);
    EXPECT_EQ(f.model.headerData(1, Qt::Horizontal).toString(), u"Time"_s);
    EXPECT_EQ(columns.header(1), u"Time"_s);
    EXPECT_TRUE(f.header()->isVisibleTo(&f.view));

    // Cells follow the column's justification; a header its own, else the column's.
    EXPECT_EQ(columns.alignment(0), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(columns.alignment(1), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(f.model.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              (Qt::AlignLeft | Qt::AlignVCenter).toInt());
    EXPECT_EQ(f.model.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              (Qt::AlignHCenter | Qt::AlignVCenter).toInt());
    EXPECT_EQ(columns.headerAlignment(1), Qt::AlignHCenter | Qt::AlignVCenter);

    // Widths are dialog units of the list's font; a column too narrow for its widest text is widened.
    const int artist = f.header()->sectionSize(0);
    const int time = f.header()->sectionSize(1);
    EXPECT_EQ(artist, f.px(75));
    EXPECT_GE(time, f.px(23));
    EXPECT_GT(time, QFontMetrics(f.view.font()).horizontalAdvance(u"23:59:59"_s));

    // Only "M" columns give way to the mouse.
    EXPECT_EQ(f.header()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(f.header()->sectionResizeMode(1), QHeaderView::Fixed);
}

TEST(ListColumns, CellsGoThroughTheirColumnsPicture) {
    Fixture f;
    ListColumns columns;
    ASSERT_TRUE(columns.apply(&f.view, u"30L~Name~@s5@20R~Time~@t4b@20R~No~@n_5b@20L~Free~"_s));
    EXPECT_EQ(columns.display(0, u"Abbey Road"_s), u"Abbey"_s);
    EXPECT_EQ(columns.display(1, timeValue(1, 14, 30)), u"01:14:30"_s);
    EXPECT_EQ(columns.display(1, 0), QString());
    EXPECT_EQ(columns.display(2, 12345), u"12345"_s);
    EXPECT_EQ(columns.display(2, 0), QString());
    // Text a model has already formatted is left alone in a number column.
    EXPECT_EQ(columns.display(2, u"1,234"_s), u"1,234"_s);
    // No picture, or no such column: the value as it is.
    EXPECT_EQ(columns.display(3, 42), u"42"_s);
    EXPECT_EQ(columns.display(9, u"x"_s), u"x"_s);
    EXPECT_EQ(columns.field(1), 2);
    EXPECT_EQ(columns.field(9), 0);

    // The view's cells show the same: a name cut by "@s5" takes the room of the cut text.
    QStandardItemModel cells(1, 4);
    f.view.setModel(&cells);
    ASSERT_TRUE(columns.apply(&f.view, u"30L~Name~@s5@20R~Time~@t4b@20R~No~@n_5b@20L~Free~"_s));
    cells.setData(cells.index(0, 0), u"Abbey Road"_s);
    cells.setData(cells.index(0, 3), u"Abbey"_s);
    QStyleOptionViewItem option;
    option.font = f.view.font();
    option.widget = &f.view;
    QAbstractItemDelegate* delegate = f.view.itemDelegate();
    EXPECT_EQ(delegate->sizeHint(option, cells.index(0, 0)), delegate->sizeHint(option, cells.index(0, 3)));
    cells.setData(cells.index(0, 3), u"Abbey Road"_s);
    EXPECT_LT(delegate->sizeHint(option, cells.index(0, 0)).width(),
              delegate->sizeHint(option, cells.index(0, 3)).width());
    f.view.setModel(&f.model);

    // The view paints through the columns' delegate, indents and borders included.
    ListColumns indented;
    ASSERT_TRUE(indented.apply(&f.view, u"40L(4)|_~Name~@s5@40R(4)|~No~@n5@"_s));
    f.model.setData(f.model.index(0, 0), u"Abbey Road"_s);
    f.model.setData(f.model.index(0, 1), 42);
    f.view.selectRow(0);
    EXPECT_FALSE(f.view.grab().isNull());
}

TEST(ListColumns, AFormatThatCannotBeReadChangesNothing) {
    Fixture f;
    ListColumns columns;
    ASSERT_TRUE(columns.apply(&f.view, kDesign));
    const int before = f.header()->sectionSize(0);
    EXPECT_FALSE(columns.apply(&f.view, u"75L(2)|M~Artist"_s));
    EXPECT_FALSE(columns.errorString().isEmpty());
    EXPECT_EQ(columns.format().toString(), kDesign);
    EXPECT_EQ(f.header()->sectionSize(0), before);
    EXPECT_EQ(columns.currentFormat(), kDesign);
    EXPECT_FALSE(columns.apply(nullptr, kDesign));
}

TEST(ListColumns, ColumnsOfAModelSetLaterAreLaidOut) {
    QTableView view;
    view.resize(150, 100);
    ListColumns columns;
    ASSERT_TRUE(columns.apply(&view, kDesign));
    QStandardItemModel model(2, 2);
    view.setModel(&model);
    EXPECT_EQ(view.horizontalHeader()->sectionSize(0), ListColumns::toPixels(view.font(), 75));
    EXPECT_EQ(view.horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), u"Time"_s);
}

TEST(ListColumns, TheUsersWidthsAreSavedAndComeBack) {
    TempFolder temp;
    const QString path = temp.file(u"POSITION.INI"_s);
    int userPixels = 0;
    {
        // Room for the drag, and free width the Artist column takes until the user sets it.
        Fixture f(250);
        f.view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.view));
        IniFile positions(path);
        ListColumns columns;
        ASSERT_TRUE(columns.restore(&f.view, positions, kWindow, kList, kDesign, QString()));
        EXPECT_EQ(columns.currentFormat(), kDesign); // nothing moved yet: widths kept exactly

        // Drag the Artist column's right edge 60 pixels to the right.
        QWidget* port = f.header()->viewport();
        const int edge = f.header()->sectionViewportPosition(0) + f.header()->sectionSize(0) - 1;
        const int y = port->height() / 2;
        QTest::mousePress(port, Qt::LeftButton, {}, QPoint(edge, y));
        QTest::mouseMove(port, QPoint(edge + 30, y));
        QTest::mouseMove(port, QPoint(edge + 60, y));
        QTest::mouseRelease(port, Qt::LeftButton, {}, QPoint(edge + 60, y));
        userPixels = f.header()->sectionSize(0);
        ASSERT_GT(userPixels, f.px(75) + 40);

        columns.save(positions);
        ASSERT_TRUE(positions.save());
    }

    IniFile positions(path);
    const QString saved = positions.readString(kWindow, u"SRCF"_s + kList);
    Fixture g(250);
    const int units = ListColumns::toDialogUnits(g.view.font(), userPixels);
    EXPECT_GT(units, 75);
    EXPECT_EQ(saved, QString::number(units) + u"L(2)|M~Artist~@s40@23R(2)|M~Time~C(0)@t4b@"_s);

    ListColumns columns;
    ASSERT_TRUE(columns.restore(&g.view, positions, kWindow, kList, kDesign, QString()));
    const int restored = g.header()->sectionSize(0);
    EXPECT_EQ(restored, g.px(units));
    EXPECT_LE(std::abs(restored - userPixels), g.view.fontMetrics().averageCharWidth() / 4 + 1);
    EXPECT_GE(g.header()->sectionSize(1), g.px(23));
    // Saving again without a change writes the same string: no drift from rounding.
    EXPECT_EQ(columns.currentFormat(), saved);
}

TEST(ListColumns, ANewDesignDropsTheSavedLayoutOnce) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    positions.writeString(kWindow, u"SRCFOriginal"_s + kList, kDesign);
    positions.writeString(kWindow, u"SRCF"_s + kList, u"150L(2)|M~Artist~@s40@23R(2)|M~Time~C(0)@t4b@"_s);

    {
        Fixture f;
        ListColumns columns;
        ASSERT_TRUE(columns.restore(&f.view, positions, kWindow, kList, kDesign, QString()));
        EXPECT_EQ(f.header()->sectionSize(0), f.px(150));
    }

    const QString redesign = u"90L(2)|M~Artist~@s40@23R(2)|M~Time~C(0)@t4b@"_s;
    {
        Fixture f;
        ListColumns columns;
        ASSERT_TRUE(columns.restore(&f.view, positions, kWindow, kList, redesign, QString()));
        EXPECT_EQ(f.header()->sectionSize(0), f.px(90));
        f.header()->resizeSection(0, f.px(120));
        columns.save(positions);
    }
    {
        // The layout saved on the new design is kept again.
        Fixture f;
        ListColumns columns;
        ASSERT_TRUE(columns.restore(&f.view, positions, kWindow, kList, redesign, QString()));
        EXPECT_EQ(f.header()->sectionSize(0), f.px(120));
    }
}

TEST(ListColumns, AnUnreadableSavedLayoutGivesWayToTheDesign) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    positions.writeString(kWindow, u"SRCFOriginal"_s + kList, kDesign);
    positions.writeString(kWindow, u"SRCF"_s + kList, u"150L(2)|M~Artist@@"_s);
    Fixture f;
    ListColumns columns;
    ASSERT_TRUE(columns.restore(&f.view, positions, kWindow, kList, kDesign, QString()));
    EXPECT_EQ(columns.format().toString(), kDesign);
    EXPECT_EQ(f.header()->sectionSize(0), f.px(75));
    columns.save(positions);
    EXPECT_EQ(positions.readString(kWindow, u"SRCF"_s + kList), kDesign);

    // A design that cannot be read leaves the list and the file alone.
    IniFile other(temp.file(u"OTHER.INI"_s));
    ListColumns broken;
    EXPECT_FALSE(broken.restore(&f.view, other, kWindow, kList, u"75L~Artist"_s, QString()));
    EXPECT_FALSE(other.isDirty());
    broken.save(other);
    EXPECT_FALSE(other.isDirty());
}

TEST(ListColumns, ThePreferredDatePictureReplacesTheDesignedOne) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    const QString design = u"60L(2)|M~Artist~@s40@40R(1)|M~Released~@d17b@"_s;
    const qint64 day = dayNumberFromDate(QDate(1959, 10, 31));

    Fixture f;
    ListColumns columns;
    ASSERT_TRUE(columns.restore(&f.view, positions, kWindow, kList, design, u"d2"_s));
    EXPECT_EQ(columns.format().columns().at(1).picture, u"@d2"_s);
    EXPECT_EQ(columns.display(1, day), u"10/31/1959"_s);
    EXPECT_EQ(columns.display(1, 0), QString());
    // The adapted design is the one the saved layout is based on.
    EXPECT_EQ(positions.readString(kWindow, u"SRCFOriginal"_s + kList),
              u"60L(2)|M~Artist~@s40@40R(1)|M~Released~@d2@"_s);

    // "Year Only": a release-date column shows years, a bare year as it is and a day as its year.
    ListColumns years;
    years.setReleaseDateColumns({1});
    ASSERT_TRUE(years.restore(&f.view, positions, u"BrowseSongs"_s, kList, design, u"n4b"_s));
    EXPECT_EQ(years.format().columns().at(1).picture, u"@n4b"_s);
    EXPECT_EQ(years.display(1, 1985), u"1985"_s);
    EXPECT_EQ(years.display(1, day), u"1959"_s);
    // Any other date column keeps its own picture: it holds days, not years.
    ListColumns days;
    ASSERT_TRUE(days.restore(&f.view, positions, u"OtherWindow"_s, kList, design, u"n4b"_s));
    EXPECT_EQ(days.format().columns().at(1).picture, u"@d17b"_s);
    EXPECT_NE(days.display(1, day), u"1959"_s);
    EXPECT_FALSE(days.display(1, day).isEmpty());
    // A bare year in a release-date column is a year under a date picture too.
    ListColumns dated;
    dated.setReleaseDateColumns({1});
    ASSERT_TRUE(dated.restore(&f.view, positions, u"ThirdWindow"_s, kList, design, u"d2"_s));
    EXPECT_EQ(dated.display(1, 1985), u"1985"_s);
    EXPECT_EQ(dated.display(1, day), u"10/31/1959"_s);
}
