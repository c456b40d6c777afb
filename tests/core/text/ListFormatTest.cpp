#include "text/ListFormat.h"
#include "text/PreferredDatePicture.h"

#include <gtest/gtest.h>

using namespace srk;
using namespace Qt::StringLiterals;

namespace {

// The formats the program's lists are designed with.
const QString kFormats[] = {
    u"75L(2)|M~Artist~@s40@"_s,
    u"23R(2)|M~Time~C(0)@t4b@"_s,
    u"25R(1)|~Track~@n3@?"_s,
    u"120L(1)#2#@s30@"_s,
    u"120L(1)I#2#@s30@120L(1)#2#@s30@"_s,
    u"120L~Category~@s30@"_s,
    u"80L(2)|M~Category~L(2)@s30@"_s,
    u"80L(2)|M~Media~L(2)@s20@"_s,
    u"23C|~Track~@n3@32L|~Time~@t4@107L|~Title~L(1)@s40@98L|~Artist~L(1)@s40@40L|~Release~L(1)@d2@/"_s,
    u"23R(2)|M~Seq~C(0)@n_5@80L(2)|M~Artist~L(0)@s40@80L(2)|M~Title~L(0)@s40@35R(2)|M~Time~@t4@"
    u"80L(2)|M~Notes~@s40@"_s,
    u"60L(2)|M~Artist~@s40@#1#60L(2)|M~Title~@s40@#2#"_s,
    // Parts the designed lists do not use, in unusual orders.
    u"40D(3)_F*S(75)~Amount~R(-1)@n-13@T(1)]40C|/"_s,
};

QList<int> fields(const ListFormat& f) {
    QList<int> out;
    for (const ListFormatColumn& c : f.columns())
        out.append(c.field);
    return out;
}

} // namespace

TEST(ListFormatText, EveryDesignedFormatWritesBackAsItWasRead) {
    for (const QString& text : kFormats) {
        const ListFormat f = ListFormat::parse(text);
        ASSERT_TRUE(f.isValid()) << text.toStdString() << ": " << f.errorString().toStdString();
        EXPECT_EQ(f.toString(), text);
        // And so does the same format after the preferred date picture went into it.
        const QString dated = applyPreferredDatePicture(text, u"d17b"_s);
        EXPECT_EQ(ListFormat::parse(dated).toString(), dated);
    }
}

TEST(ListFormatText, ReadsEachPartOfAColumn) {
    const ListFormat f = ListFormat::parse(u"75L(2)|M~Artist~@s40@23R(2)|M~Time~C(0)@t4b@"_s);
    ASSERT_EQ(f.columnCount(), 2);
    const ListFormatColumn& artist = f.columns().at(0);
    EXPECT_EQ(artist.width, 75);
    EXPECT_EQ(artist.justification, u'L');
    EXPECT_EQ(artist.indent, 2);
    EXPECT_TRUE(artist.rightBorder);
    EXPECT_TRUE(artist.resizable);
    EXPECT_FALSE(artist.underline);
    EXPECT_EQ(artist.header, u"Artist"_s);
    EXPECT_TRUE(artist.headerJustification.isNull());
    EXPECT_EQ(artist.picture, u"@s40"_s);
    const ListFormatColumn& time = f.columns().at(1);
    EXPECT_EQ(time.width, 23);
    EXPECT_EQ(time.justification, u'R');
    EXPECT_EQ(time.headerJustification, u'C');
    EXPECT_EQ(time.headerIndent, 0);
    EXPECT_EQ(time.picture, u"@t4b"_s);

    // Flags after the picture belong to the column they follow.
    const ListFormat cd = ListFormat::parse(kFormats[8]);
    ASSERT_EQ(cd.columnCount(), 5);
    EXPECT_TRUE(cd.columns().at(4).newLine);
    EXPECT_FALSE(cd.columns().at(3).newLine);
    EXPECT_EQ(cd.columns().at(0).justification, u'C');
    EXPECT_FALSE(cd.columns().at(0).indent.has_value());
    const ListFormat track = ListFormat::parse(kFormats[2]);
    ASSERT_EQ(track.columnCount(), 1);
    EXPECT_TRUE(track.columns().at(0).open);

    const ListFormat odd = ListFormat::parse(kFormats[11]);
    ASSERT_EQ(odd.columnCount(), 2);
    const ListFormatColumn& amount = odd.columns().at(0);
    EXPECT_EQ(amount.justification, u'D');
    EXPECT_TRUE(amount.underline && amount.fixed && amount.colours);
    EXPECT_EQ(amount.scrollWidth, 75);
    EXPECT_EQ(amount.headerJustification, u'R');
    EXPECT_EQ(amount.headerIndent, -1);
    EXPECT_EQ(amount.tree, u"(1)"_s);
    EXPECT_TRUE(odd.columns().at(1).newLine && odd.columns().at(1).rightBorder);
    EXPECT_FALSE(odd.columns().at(1).header.has_value());
}

TEST(ListFormatText, ColumnsShowTheNextFieldUnlessNumbered) {
    EXPECT_EQ(fields(ListFormat::parse(kFormats[9])), (QList<int>{1, 2, 3, 4, 5}));
    // An explicit number sets the column's field, and the count goes on from there.
    EXPECT_EQ(fields(ListFormat::parse(u"10L#3#10L10L#2#10L"_s)), (QList<int>{3, 4, 2, 3}));

    // An icon takes the field after the column's own.
    const ListFormat icon = ListFormat::parse(u"120L(1)I#2#@s30@120L(1)#2#@s30@10L"_s);
    EXPECT_EQ(fields(icon), (QList<int>{2, 2, 3}));
    EXPECT_EQ(icon.columns().at(0).iconField, 3);
    EXPECT_EQ(icon.columns().at(1).iconField, 0);
    EXPECT_EQ(fields(ListFormat::parse(u"10LI10L10L"_s)), (QList<int>{1, 3, 4}));

    // Colours take four fields; with an icon as well, the icon comes after them.
    const ListFormat colours = ListFormat::parse(u"10L*10L*I10L"_s);
    EXPECT_EQ(fields(colours), (QList<int>{1, 6, 12}));
    EXPECT_EQ(colours.columns().at(0).colourField, 2);
    EXPECT_EQ(colours.columns().at(1).colourField, 7);
    EXPECT_EQ(colours.columns().at(1).iconField, 11);

    // Skipped texts never count, whatever they hold.
    EXPECT_EQ(fields(ListFormat::parse(u"10L~a L#9# R~@n3@S(4)T(L)]10R"_s)), (QList<int>{1, 2}));
}

TEST(ListFormatText, MalformedStringsGiveAnErrorAndNoColumns) {
    struct Case {
        QString text;
        qsizetype position;
    };
    const Case cases[] = {
        {u""_s, 0},
        {u"75L(2)|M~Artist@s40@"_s, 8},   // header never closed
        {u"75L(2)|M~Artist~@s40"_s, 16},  // picture never closed
        {u"75L(2|M~Artist~"_s, 5},        // indent never closed
        {u"75L()"_s, 4},                  // indent without a number
        {u"75X~Artist~"_s, 2},            // no justification
        {u"75"_s, 2},                     // width alone
        {u"~Artist~"_s, 0},               // header before any column
        {u"75L#2"_s, 3},                  // field number never closed
        {u"75L#0#"_s, 3},                 // no field 0
        {u"75LS20"_s, 3},                 // scroll width without parentheses
        {u"75LT(1)"_s, 3},                // tree text never closed
        {u"75L||"_s, 4},                  // a flag twice
        {u"75L@s4@@s5@"_s, 7},            // two pictures
        {u"75L~a~~b~"_s, 6},              // two headers
        {u"75L%"_s, 3},                   // garbage
        {u"999999999999L"_s, 0},          // width out of range
        {u"75L(2)|M~Artist~@s40@ 23R"_s, 21}, // a blank between columns
    };
    for (const Case& c : cases) {
        const ListFormat f = ListFormat::parse(c.text);
        EXPECT_FALSE(f.isValid()) << c.text.toStdString();
        EXPECT_FALSE(f.errorString().isEmpty());
        EXPECT_EQ(f.errorPosition(), c.position) << c.text.toStdString() << ": " << f.errorString().toStdString();
        EXPECT_EQ(f.columnCount(), 0);
        EXPECT_TRUE(f.toString().isEmpty());
    }
    // The message says where the trouble is.
    EXPECT_EQ(ListFormat::parse(u"75L(2)|M~Artist~@s40@23R~Time"_s).errorString(),
              u"Column 2: the header's closing \"~\" is missing at character 25."_s);
}

TEST(ListFormatText, ChangedWidthsAndPicturesWriteBackInPlace) {
    ListFormat f = ListFormat::parse(kFormats[8]);
    ASSERT_TRUE(f.isValid());
    EXPECT_TRUE(f.setWidth(2, 140));
    EXPECT_TRUE(f.setPicture(4, u"@d17b"_s));
    EXPECT_TRUE(f.setPicture(0, u"n_3b"_s));
    EXPECT_EQ(f.toString(), u"23C|~Track~@n_3b@32L|~Time~@t4@140L|~Title~L(1)@s40@98L|~Artist~L(1)@s40@"
                            u"40L|~Release~L(1)@d17b@/"_s);

    // Values the string could not carry, and columns that do not exist, change nothing.
    const QString before = f.toString();
    EXPECT_FALSE(f.setWidth(5, 10));
    EXPECT_FALSE(f.setWidth(-1, 10));
    EXPECT_FALSE(f.setWidth(0, -3));
    EXPECT_FALSE(f.setPicture(0, u"@s4@x"_s));
    EXPECT_FALSE(f.setHeader(1, u"Ti~me"_s));
    EXPECT_EQ(f.toString(), before);

    // A part the column did not have goes where a designed format puts it.
    ListFormat bare = ListFormat::parse(u"20R|/"_s);
    ASSERT_TRUE(bare.isValid());
    EXPECT_TRUE(bare.setPicture(0, u"@n3"_s));
    EXPECT_TRUE(bare.setHeader(0, u"No."_s));
    EXPECT_EQ(bare.toString(), u"20R|~No.~@n3@/"_s);
    EXPECT_TRUE(bare.setPicture(0, QString()));
    EXPECT_EQ(bare.toString(), u"20R|~No.~/"_s);
}

TEST(ListFormatText, ReplacedColumnsAreNumberedAndMustReadBack) {
    ListFormat f = ListFormat::parse(u"10L10L"_s);
    QList<ListFormatColumn> columns = f.columns();
    columns[0].colours = true;
    columns[1].resizable = true;
    columns[1].header = u"Name"_s;
    ASSERT_TRUE(f.setColumns(columns));
    EXPECT_EQ(f.toString(), u"10L*10LM~Name~"_s);
    EXPECT_EQ(fields(f), (QList<int>{1, 6}));

    // A header with no justification of its own would swallow the next column's letter when that
    // column has no width: such a layout is refused.
    QList<ListFormatColumn> ambiguous = f.columns();
    ambiguous[1].width.reset();
    ambiguous[0].header = u"A"_s;
    EXPECT_FALSE(f.setColumns(ambiguous));
    EXPECT_EQ(f.toString(), u"10L*10LM~Name~"_s);
}
