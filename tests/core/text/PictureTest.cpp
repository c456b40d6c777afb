#include "text/Picture.h"
#include "text/DayNumber.h"
#include "text/PreferredDatePicture.h"

#include <QLocale>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace srk;

namespace {

// Layouts 17/18 and time layouts 7/8 follow the default locale: pin it.
class PictureLocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

QString fmt(const QVariant& value, const char* picture) {
    return format(value, QString::fromUtf8(picture));
}

QVariant defmt(const QString& text, const char* picture) {
    return deformat(text, QString::fromUtf8(picture));
}

qint64 defmtInt(const char* text, const char* picture) {
    const QVariant v = defmt(QString::fromUtf8(text), picture);
    EXPECT_EQ(v.typeId(), QMetaType::LongLong) << text << " " << picture;
    return v.toLongLong();
}

qint32 halloween1959() {
    return dayNumberFromDate(QDate(1959, 10, 31));
}

} // namespace

// ---------------------------------------------------------------- parsing

TEST(PictureParse, ReadsEveryForm) {
    Picture p = parsePicture(QStringLiteral("@n-_13.2b"));
    EXPECT_EQ(p.kind, PictureKind::Number);
    EXPECT_EQ(p.width, 13);
    EXPECT_EQ(p.decimals, 2);
    EXPECT_TRUE(p.allowSign);
    EXPECT_FALSE(p.grouping);
    EXPECT_TRUE(p.blankZero);

    p = parsePicture(QStringLiteral("@D15-"));
    EXPECT_EQ(p.kind, PictureKind::Date);
    EXPECT_EQ(p.layout, 15);
    EXPECT_EQ(p.separator, u'-');
    EXPECT_FALSE(p.blankZero);

    p = parsePicture(QStringLiteral("@d17-b"));
    EXPECT_EQ(p.separator, u'-');
    EXPECT_TRUE(p.blankZero);

    p = parsePicture(QStringLiteral("@T4B"));
    EXPECT_EQ(p.kind, PictureKind::Time);
    EXPECT_EQ(p.layout, 4);
    EXPECT_TRUE(p.blankZero);

    p = parsePicture(QStringLiteral("@pPage <<<#p"));
    EXPECT_EQ(p.kind, PictureKind::Pattern);
    EXPECT_EQ(p.pattern, QStringLiteral("Page <<<#"));
    EXPECT_FALSE(p.blankZero);

    p = parsePicture(QStringLiteral("@S1000"));
    EXPECT_EQ(p.kind, PictureKind::Text);
    EXPECT_EQ(p.width, 1000);

    // Report columns name pictures without the "@".
    EXPECT_EQ(parsePicture(QStringLiteral("T4")).kind, PictureKind::Time);
    EXPECT_EQ(parsePicture(QStringLiteral("n4b")).kind, PictureKind::Number);
}

TEST(PictureParse, RejectsMalformedPictures) {
    for (const char* bad :
         {"",      "@",     "@@",  "@x5",   "@s",   "@sabc", "@s5x",  "@n",     "@nb",    "@n-",
          "@n3.",  "@n3.x", "@n0", "@n3bb", "@d",   "@d0",   "@d9",   "@d12",   "@d19",   "@d2xx",
          "@d2--", "@t",    "@t0", "@t9",   "@t4x", "@p",    "@p###", "@pabcp", "@p##pq", "@s99999999999999",
          "@n3.99"}) {
        EXPECT_FALSE(parsePicture(QString::fromUtf8(bad)).isValid()) << bad;
    }
}

TEST(PictureType, IsTheUpperCasedSecondCharacter) {
    EXPECT_EQ(pictureType(QStringLiteral("@s40")), u'S');
    EXPECT_EQ(pictureType(QStringLiteral("@N30.9")), u'N');
    EXPECT_EQ(pictureType(QStringLiteral("@d17b")), u'D');
    EXPECT_EQ(pictureType(QStringLiteral("@t4")), u'T');
    EXPECT_TRUE(pictureType(QStringLiteral("@")).isNull());
    EXPECT_TRUE(pictureType(QString()).isNull());
}

// ---------------------------------------------------------------- malformed

TEST(PictureMalformed, FormatGivesThePlainValueAndDeformatTheText) {
    EXPECT_EQ(fmt(1234, "@x9"), QStringLiteral("1234"));
    EXPECT_EQ(fmt(QStringLiteral("Abbey Road"), "@d99"), QStringLiteral("Abbey Road"));
    EXPECT_EQ(fmt(QVariant(), "@n"), QString());
    const QVariant back = defmt(QStringLiteral("12,345"), "@q");
    EXPECT_EQ(back.typeId(), QMetaType::QString);
    EXPECT_EQ(back.toString(), QStringLiteral("12,345"));
}

TEST(PictureMalformed, RandomPicturesAndTextsNeverCrash) {
    QRandomGenerator rng(1997);
    const QString alphabet =
        QStringLiteral("@sSnNdDtTpPbB-_.,:/#<0123456789 xAM") + QChar(0xD83C) + QChar(0xDFB5);
    auto randomText = [&](int maxLength) {
        QString s;
        const int n = rng.bounded(maxLength + 1);
        for (int i = 0; i < n; ++i)
            s.append(alphabet.at(rng.bounded(int(alphabet.size()))));
        return s;
    };
    for (int i = 0; i < 5000; ++i) {
        QString picture = randomText(12);
        if (i % 2 == 0)
            picture.prepend(u'@');
        const QString text = randomText(20);
        const QString shown = format(QVariant(qint64(rng.generate64())), picture);
        const QVariant read = deformat(text, picture);
        EXPECT_LE(shown.size(), 5000);
        EXPECT_TRUE(read.isValid());
    }
}

// ---------------------------------------------------------------- text

TEST(PictureText, CutsToTheWidth) {
    EXPECT_EQ(fmt(QStringLiteral("Sgt. Pepper"), "@s4"), QStringLiteral("Sgt."));
    EXPECT_EQ(fmt(QStringLiteral("A"), "@S40"), QStringLiteral("A"));
    EXPECT_EQ(fmt(QStringLiteral("  padded  "), "@s40"), QStringLiteral("  padded  "));
    EXPECT_EQ(fmt(QStringLiteral("x"), "@s0"), QString());
    // Numbers shown through a text picture are their plain text.
    EXPECT_EQ(fmt(qint64(1985), "@s2"), QStringLiteral("19"));
    EXPECT_EQ(defmt(QStringLiteral("Revolver"), "@s3").toString(), QStringLiteral("Rev"));
}

TEST(PictureText, CountsCodePointsAndNeverSplitsACharacter) {
    const QString note = QString::fromUtf8("a\xF0\x9F\x8E\xB5z"); // a, U+1F3B5 (two UTF-16 units), z
    ASSERT_EQ(note.size(), 4);
    EXPECT_EQ(format(note, QStringLiteral("@s1")), QStringLiteral("a"));
    EXPECT_EQ(format(note, QStringLiteral("@s2")), note.left(3));
    EXPECT_EQ(format(note, QStringLiteral("@s3")), note);
    EXPECT_EQ(deformat(note, QStringLiteral("@s2")).toString(), note.left(3));
    // Four notes are four characters, as the store counts them.
    const QString notes = QString::fromUtf8("\xF0\x9F\x8E\xB5").repeated(4);
    EXPECT_EQ(format(notes, QStringLiteral("@s4")), notes);
    EXPECT_EQ(format(notes + QStringLiteral("x"), QStringLiteral("@s4")), notes);
    EXPECT_EQ(format(notes, QStringLiteral("@s3")), notes.left(6));
    // A decomposed letter keeps its accent: the mark goes with it rather than the letter going.
    const QString e = QString::fromUtf8("e\xCC\x81"); // e + combining acute
    EXPECT_EQ(format(e, QStringLiteral("@s1")), e);
    EXPECT_EQ(deformat(e, QStringLiteral("@s1")).toString(), e);
    const QString accented = QString::fromUtf8("Be\xCC\x81la");
    EXPECT_EQ(format(accented, QStringLiteral("@s1")), QStringLiteral("B"));
    EXPECT_EQ(format(accented, QStringLiteral("@s2")), accented.left(3));
    EXPECT_EQ(format(accented, QStringLiteral("@s3")), accented.left(3));
    EXPECT_EQ(format(accented, QStringLiteral("@s4")), accented.left(4));
    EXPECT_EQ(format(accented, QStringLiteral("@s0")), QString());
}

// ---------------------------------------------------------------- numbers

TEST(PictureNumber, ColumnExamples) {
    EXPECT_EQ(fmt(0, "@n_4b"), QString());
    EXPECT_EQ(fmt(0, "@n3"), QStringLiteral("0"));
    EXPECT_EQ(fmt(128, "@n_4b"), QStringLiteral("128"));
    EXPECT_EQ(fmt(7, "@n3b"), QStringLiteral("7"));
    EXPECT_EQ(fmt(0, "@n3b"), QString());
    EXPECT_EQ(fmt(12, "@n_2"), QStringLiteral("12"));
    EXPECT_EQ(fmt(0, "@n_3b"), QString());
    EXPECT_EQ(fmt(1985, "@n4b"), QStringLiteral("1985")); // the "Year Only" picture
}

TEST(PictureNumber, GroupsThousandsUnlessFillOrWidthForbid) {
    EXPECT_EQ(fmt(qint64(1234567), "@n-13"), QStringLiteral("1,234,567"));
    EXPECT_EQ(fmt(qint64(-1234567), "@n-13"), QStringLiteral("-1,234,567"));
    EXPECT_EQ(fmt(qint64(123456), "@n9"), QStringLiteral("123,456"));
    EXPECT_EQ(fmt(qint64(1000), "@n5"), QStringLiteral("1,000"));
    EXPECT_EQ(fmt(qint64(999), "@n5"), QStringLiteral("999"));
    EXPECT_EQ(fmt(qint64(12345), "@n_5"), QStringLiteral("12345"));
    // Grouped text too wide for the field falls back to the plain digits.
    EXPECT_EQ(fmt(qint64(12345), "@n5"), QStringLiteral("12345"));
}

TEST(PictureNumber, ValuesTooWideShowHashes) {
    EXPECT_EQ(fmt(1000, "@n3"), QStringLiteral("###"));
    EXPECT_EQ(fmt(-100, "@n-3"), QStringLiteral("###"));
    EXPECT_EQ(fmt(100, "@n_2"), QStringLiteral("##"));
    EXPECT_EQ(fmt(1.5, "@n3.2"), QStringLiteral("###"));
    EXPECT_EQ(fmt(std::numeric_limits<double>::infinity(), "@n5"), QStringLiteral("#####"));
    EXPECT_EQ(fmt(std::numeric_limits<double>::quiet_NaN(), "@n2"), QStringLiteral("##"));
    EXPECT_EQ(fmt(std::numeric_limits<qint64>::min(), "@n-30"), QStringLiteral("-9,223,372,036,854,775,808"));
}

TEST(PictureNumber, DecimalsRoundHalfAwayFromZero) {
    EXPECT_EQ(fmt(3.14159, "@N30.9"), QStringLiteral("3.141590000"));
    EXPECT_EQ(fmt(1234.5, "@n10.2"), QStringLiteral("1,234.50"));
    EXPECT_EQ(fmt(2.5, "@n3"), QStringLiteral("3"));
    EXPECT_EQ(fmt(-2.5, "@n-3"), QStringLiteral("-3"));
    EXPECT_EQ(fmt(0.125, "@n5.2"), QStringLiteral("0.13"));
    EXPECT_EQ(fmt(7, "@n6.2"), QStringLiteral("7.00"));
    // Values that round to zero are zero: no "-0.00", blank under "b".
    EXPECT_EQ(fmt(-0.001, "@n-6.2"), QStringLiteral("0.00"));
    EXPECT_EQ(fmt(0.001, "@n6.2b"), QString());
}

TEST(PictureNumber, AcceptsNumericText) {
    EXPECT_EQ(fmt(QStringLiteral("1234567"), "@n-13"), QStringLiteral("1,234,567"));
    EXPECT_EQ(fmt(QStringLiteral(" -42 "), "@n-5"), QStringLiteral("-42"));
    EXPECT_EQ(fmt(QStringLiteral("1,234.5"), "@n10.2"), QStringLiteral("1,234.50"));
    EXPECT_EQ(fmt(QStringLiteral("0"), "@n_4b"), QString());
    EXPECT_EQ(fmt(QStringLiteral("abc"), "@n3"), QStringLiteral("0"));
    EXPECT_EQ(fmt(true, "@n3"), QStringLiteral("1"));
}

TEST(PictureNumber, DeformatReadsWhatFormatWrites) {
    EXPECT_EQ(defmtInt("1,234,567", "@n-13"), 1234567);
    EXPECT_EQ(defmtInt("-1,234", "@n-13"), -1234);
    EXPECT_EQ(defmtInt("  128 ", "@n_4b"), 128);
    EXPECT_EQ(defmtInt("", "@n_4b"), 0);
    EXPECT_EQ(defmtInt("12.5", "@n3"), 13);
    const QVariant real = defmt(QStringLiteral("3.14159"), "@N30.9");
    EXPECT_EQ(real.typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(real.toDouble(), 3.14159);
    EXPECT_DOUBLE_EQ(defmt(QStringLiteral("1,234.567"), "@n10.2").toDouble(), 1234.57);
    for (qint64 v : {qint64(0), qint64(1), qint64(-1), qint64(999), qint64(1000), qint64(-98765432),
                     std::numeric_limits<qint64>::max()}) {
        EXPECT_EQ(deformat(format(v, QStringLiteral("@n-30")), QStringLiteral("@n-30")).toLongLong(), v);
        EXPECT_EQ(deformat(format(v, QStringLiteral("@n_-30")), QStringLiteral("@n_-30")).toLongLong(), v);
    }
}

TEST(PictureNumber, GarbageReadsAsZero) {
    for (const char* text : {"abc", "12a", "1.2.3", "--5", "###", ",", ".", "1 2", "99999999999999999999"})
        EXPECT_EQ(defmtInt(text, "@n-13"), 0) << text;
    EXPECT_EQ(defmt(QStringLiteral("x"), "@n5.2").toDouble(), 0.0);
}

// ---------------------------------------------------------------- dates

TEST_F(PictureLocaleTest, DateLayoutsOfHalloween1959) {
    const qint32 day = halloween1959();
    const std::pair<const char*, const char*> expected[] = {
        {"@d1", "10/31/59"},    {"@d2", "10/31/1959"},
        {"@d3", "OCT 31,1959"}, {"@d4", "October 31, 1959"},
        {"@d5", "31/10/59"},    {"@d6", "31/10/1959"},
        {"@d7", "31 OCT 59"},   {"@d8", "31 OCT 1959"},
        {"@d13", "10/59"},      {"@d14", "10/1959"},
        {"@d15", "59/10"},      {"@d16", "1959/10"},
        {"@d17", "10/31/59"},   {"@d18", "Saturday, October 31, 1959"}};
    for (const auto& [picture, text] : expected)
        EXPECT_EQ(fmt(day, picture), QString::fromUtf8(text)) << picture;
}

TEST_F(PictureLocaleTest, DateExamplesAndBlanks) {
    EXPECT_EQ(fmt(71671, "@d2"), QStringLiteral("03/21/1997"));
    EXPECT_EQ(fmt(71671, "@D2"), QStringLiteral("03/21/1997"));
    EXPECT_EQ(fmt(71671, "@d3b"), QStringLiteral("MAR 21,1997"));
    EXPECT_EQ(fmt(dayNumberFromDate(QDate(2001, 3, 4)), "@d4"), QStringLiteral("March 4, 2001"));
    EXPECT_EQ(fmt(0, "@d17b"), QString());
    // No date has no text, "b" or not; nor have numbers outside the calendar.
    EXPECT_EQ(fmt(0, "@d2"), QString());
    EXPECT_EQ(fmt(-5, "@d2"), QString());
    // Days 1 to 3 are the last days of 1800; only day 0 is no date.
    EXPECT_EQ(fmt(1, "@d2"), QStringLiteral("12/29/1800"));
    EXPECT_EQ(fmt(3, "@d8"), QStringLiteral("31 DEC 1800"));
    EXPECT_EQ(fmt(4, "@d2"), QStringLiteral("01/01/1801"));
    EXPECT_EQ(defmtInt("12/29/1800", "@d2"), 1);
    EXPECT_EQ(defmtInt("12/28/1800", "@d2"), 0);
    EXPECT_EQ(fmt(qint64(lastDayNumber()) + 1, "@d2"), QString());
    EXPECT_EQ(fmt(QDate(1997, 3, 21), "@d2"), QStringLiteral("03/21/1997"));
    EXPECT_EQ(fmt(QStringLiteral("71671"), "@d6"), QStringLiteral("21/03/1997"));
}

TEST_F(PictureLocaleTest, DateSeparatorReplacesTheSlash) {
    const qint32 day = halloween1959();
    EXPECT_EQ(fmt(day, "@D15-"), QStringLiteral("59-10"));
    EXPECT_EQ(fmt(day, "@d2."), QStringLiteral("10.31.1959"));
    EXPECT_EQ(fmt(day, "@d17-"), QStringLiteral("10-31-59"));
    EXPECT_EQ(fmt(day, "@d17-b"), QStringLiteral("10-31-59"));
    EXPECT_EQ(fmt(day, "@d3-"), QStringLiteral("OCT 31,1959"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(fmt(day, "@d17"), QStringLiteral("31.10.59"));
    EXPECT_EQ(fmt(day, "@d17-"), QStringLiteral("31-10-59"));
}

TEST_F(PictureLocaleTest, EveryDateLayoutRoundTrips) {
    const int thisYear = QDate::currentDate().year();
    // Two-digit years only come back inside the century window.
    const QDate dates[] = {
        QDate(thisYear - 30, 1, 9), QDate(thisYear - 1, 12, 31), QDate(thisYear + 5, 2, 28),
        QDate(thisYear - 20, 2, 29).isValid() ? QDate(thisYear - 20, 2, 29) : QDate(thisYear - 21, 2, 28)};
    const QDate fourDigitDates[] = {QDate(1800, 12, 29), QDate(1801, 1, 1), QDate(1959, 10, 31), QDate(2000, 2, 29),
                                    QDate(9999, 12, 31)};
    const char* fourDigit[] = {"@d2", "@d3", "@d4", "@d6", "@d8", "@d18", "@d2-", "@d6."};
    const char* twoDigit[] = {"@d1", "@d5", "@d7", "@d17", "@d17-", "@d1b"};
    for (const char* picture : fourDigit) {
        for (const QDate& date : fourDigitDates) {
            const qint32 day = dayNumberFromDate(date);
            EXPECT_EQ(defmtInt(fmt(day, picture).toUtf8().constData(), picture), day)
                << picture << " " << day;
        }
    }
    for (const char* picture : twoDigit) {
        for (const QDate& date : dates) {
            const qint32 day = dayNumberFromDate(date);
            EXPECT_EQ(defmtInt(fmt(day, picture).toUtf8().constData(), picture), day)
                << picture << " " << day;
        }
    }
    // Month-and-year layouts come back as the first of the month.
    for (const char* picture : {"@d13", "@d14", "@d15", "@d16", "@D15-"}) {
        const qint32 day = dayNumberFromDate(QDate(thisYear - 3, 7, 19));
        EXPECT_EQ(defmtInt(fmt(day, picture).toUtf8().constData(), picture),
                  dayNumberFromDate(QDate(thisYear - 3, 7, 1)))
            << picture;
    }
}

TEST_F(PictureLocaleTest, DeformatDateIsLenientAboutTyping) {
    const qint32 day = halloween1959();
    EXPECT_EQ(defmtInt("10/31/1959", "@d2"), day);
    EXPECT_EQ(defmtInt("10-31-1959", "@d2"), day);
    EXPECT_EQ(defmtInt("10311959", "@d2"), day);
    EXPECT_EQ(defmtInt("31.10.1959", "@d6"), day);
    EXPECT_EQ(defmtInt("oct 31 1959", "@d3"), day);
    EXPECT_EQ(defmtInt("31 october 1959", "@d8"), day);
    EXPECT_EQ(defmtInt("10 31 1959", "@d3"), day); // numeric month in a named-month layout
    EXPECT_EQ(defmtInt("Sat, Oct 31, 1959", "@d18"), day);
    EXPECT_EQ(defmtInt("", "@d17b"), 0);
    EXPECT_EQ(defmtInt("   ", "@d2"), 0);
}

TEST_F(PictureLocaleTest, DeformatDateRejectsWhatDoesNotFit) {
    for (const char* text : {"02/30/1997", "13/01/1997", "00/10/1997", "10/31", "10/31/1959/4", "hello",
                             "Foo 31, 1959", "10/31/1800", "10/31/10000", "1031199", "10/31/19590"})
        EXPECT_EQ(defmtInt(text, "@d2"), 0) << text;
    EXPECT_EQ(defmtInt("31/10/1959", "@d2"), 0); // day and month swapped
}

TEST_F(PictureLocaleTest, DeformatDateFollowsTheLocaleFieldOrder) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const qint32 day = halloween1959();
    EXPECT_EQ(defmtInt("31.10.59", "@d17"), day);
    EXPECT_EQ(defmtInt(fmt(day, "@d18").toUtf8().constData(), "@d18"), day);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(defmtInt("31/10/1959", "@d17"), day);
}

TEST_F(PictureLocaleTest, DeformatReadsTheMonthNamesOfTheLocaleInForce) {
    // Month names are kept per locale: a change of locale must be seen at once, both ways.
    const qint32 day = dayNumberFromDate(QDate(2020, 5, 14));
    EXPECT_EQ(defmtInt("14 May 2020", "@d6"), day);
    EXPECT_EQ(defmtInt("14 Mai 2020", "@d6"), 0);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(defmtInt("14 Mai 2020", "@d6"), day);
    EXPECT_EQ(defmtInt("14.05.20", "@d17"), day);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(defmtInt("14 Mai 2020", "@d6"), 0);
    EXPECT_EQ(defmtInt("05/14/20", "@d17"), day);
}

// ---------------------------------------------------------------- times

TEST_F(PictureLocaleTest, TimeExamples) {
    EXPECT_EQ(fmt(4204651, "@t4"), QStringLiteral("11:40:46"));
    EXPECT_EQ(fmt(4204651, "@T4B"), QStringLiteral("11:40:46"));
    EXPECT_EQ(fmt(0, "@t4b"), QString());
    EXPECT_EQ(fmt(0, "@t4"), QStringLiteral("00:00:00"));
    EXPECT_EQ(fmt(1, "@t4b"), QStringLiteral("00:00:00"));
    EXPECT_EQ(fmt(-7, "@t4"), QString());
    const qint32 song = timeValue(0, 3, 25);
    EXPECT_EQ(fmt(song, "@t4b"), QStringLiteral("00:03:25"));
}

TEST_F(PictureLocaleTest, TimeLayouts) {
    const qint32 morning = 4204651;
    const qint32 evening = timeValue(23, 5, 9);
    const qint32 noon = timeValue(12, 0, 0);
    const qint32 midnight = timeValue(0, 0, 0);
    EXPECT_EQ(fmt(morning, "@t1"), QStringLiteral("11:40"));
    EXPECT_EQ(fmt(morning, "@t2"), QStringLiteral("1140"));
    EXPECT_EQ(fmt(morning, "@t3"), QStringLiteral("11:40AM"));
    EXPECT_EQ(fmt(morning, "@t5"), QStringLiteral("114046"));
    EXPECT_EQ(fmt(morning, "@t6"), QStringLiteral("11:40:46AM"));
    EXPECT_EQ(fmt(evening, "@t3"), QStringLiteral("11:05PM"));
    EXPECT_EQ(fmt(evening, "@t6"), QStringLiteral("11:05:09PM"));
    EXPECT_EQ(fmt(noon, "@t3"), QStringLiteral("12:00PM"));
    EXPECT_EQ(fmt(midnight, "@t3"), QStringLiteral("12:00AM"));
    EXPECT_EQ(fmt(morning, "@t7"), QStringLiteral("11:40 AM"));
    EXPECT_EQ(fmt(morning, "@t8"), QStringLiteral("11:40:46 AM"));
    // Long durations keep counting hours instead of wrapping.
    EXPECT_EQ(fmt(timeValue(26, 0, 1), "@t4"), QStringLiteral("26:00:01"));
    EXPECT_EQ(fmt(timeValue(123, 4, 5), "@t4"), QStringLiteral("123:04:05"));
}

TEST_F(PictureLocaleTest, EveryTimeLayoutRoundTrips) {
    const struct {
        const char* picture;
        int resolution; // hundredths the layout keeps
    } layouts[] = {{"@t1", 6000}, {"@t2", 6000}, {"@t3", 6000}, {"@t4", 100}, {"@t5", 100},
                   {"@t6", 100},  {"@t7", 6000}, {"@t8", 100},  {"@t4b", 100}};
    for (const auto& layout : layouts) {
        for (qint32 value = 1; value < 24 * 360000; value += 123457) {
            const qint32 expected = (value - 1) / layout.resolution * layout.resolution + 1;
            const QString text = fmt(value, layout.picture);
            EXPECT_EQ(defmtInt(text.toUtf8().constData(), layout.picture), expected)
                << layout.picture << " " << text.toStdString();
        }
    }
}

TEST_F(PictureLocaleTest, DeformatTimeReadsTypedTimes) {
    EXPECT_EQ(defmtInt("11:40:46.50", "@t4"), 4204651);
    EXPECT_EQ(defmtInt("11:40:46.5", "@t4"), 4204651);
    EXPECT_EQ(defmtInt("2:00", "@t1"), timeValue(2, 0, 0));
    // Minutes and seconds typed as "3:25" read as hours and minutes; the song form divides.
    EXPECT_EQ(defmtInt("3:25", "@t4"), timeValue(3, 25, 0));
    EXPECT_EQ(defmtInt("1140", "@t2"), timeValue(11, 40, 0));
    EXPECT_EQ(defmtInt("930", "@t2"), timeValue(9, 30, 0));
    EXPECT_EQ(defmtInt("114046", "@t5"), timeValue(11, 40, 46));
    EXPECT_EQ(defmtInt("5:30pm", "@t3"), timeValue(17, 30, 0));
    EXPECT_EQ(defmtInt("12:15 AM", "@t3"), timeValue(0, 15, 0));
    EXPECT_EQ(defmtInt("12:15 PM", "@t6"), timeValue(12, 15, 0));
    EXPECT_EQ(defmtInt("00:00:00", "@t4"), 1);
    EXPECT_EQ(defmtInt("26:00:01", "@t4"), timeValue(26, 0, 1));
}

TEST_F(PictureLocaleTest, DeformatTimeRejectsWhatDoesNotFit) {
    for (const char* text : {"", "abc", "11:60", "11:40:60", "13:00 PM", "0:30 AM", "1:2:3:4:5", "1234567",
                             "11:40 AM PM", "99999:00"})
        EXPECT_EQ(defmtInt(text, "@t4"), 0) << text;
}

// The run-together layouts keep the last digits for minutes (and seconds): whatever stands before them is
// hours, so a 100-hour time read back is not split after its first digits.
TEST_F(PictureLocaleTest, RunTogetherTimesOfManyHoursRoundTrip) {
    for (const char* picture : {"@t2", "@t5"}) {
        const int resolution = QString::fromLatin1(picture) == QStringLiteral("@t2") ? 6000 : 100;
        for (const int hours : {99, 100, 123, 999, 1000, 4999}) {
            const qint32 value = timeValue(hours, 7, 9);
            const qint32 expected = (value - 1) / resolution * resolution + 1;
            const QString text = fmt(value, picture);
            EXPECT_EQ(defmtInt(text.toUtf8().constData(), picture), expected) << picture << " " << text.toStdString();
        }
    }
    EXPECT_EQ(defmtInt("1000000", "@t5"), timeValue(100, 0, 0));
    EXPECT_EQ(defmtInt("12345", "@t2"), timeValue(123, 45, 0));
    EXPECT_EQ(defmtInt("1234567", "@t5"), 0); // 67 seconds
    EXPECT_EQ(defmtInt("12360", "@t2"), 0);   // 60 minutes
    // Shorter than the layout's own text: hours first, as before.
    EXPECT_EQ(defmtInt("1140", "@t5"), timeValue(11, 40, 0));
    EXPECT_EQ(defmtInt("930", "@t2"), timeValue(9, 30, 0));
    // Layouts with separators still take at most six digits run together.
    EXPECT_EQ(defmtInt("10000", "@t4"), timeValue(1, 0, 0));
}

TEST_F(PictureLocaleTest, DeformatTimeRejectsJunkBetweenDigits) {
    for (const char* text : {"11;40", "11::40", "11:4-0", "11/40/46", "11 40", "11:40:", ":11:40", "#11:40",
                             "11:40#", "11:40 - PM", "11,40", "11:40:46..5", "11_40"})
        EXPECT_EQ(defmtInt(text, "@t4"), 0) << text;
    // Blanks around a separator and before AM/PM are no junk.
    EXPECT_EQ(defmtInt(" 11 : 40 ", "@t4"), timeValue(11, 40, 0));
    EXPECT_EQ(defmtInt("11:40:46.5", "@t4"), timeValue(11, 40, 46, 50));
    EXPECT_EQ(defmtInt("5:30pm", "@t3"), timeValue(17, 30, 0));
    EXPECT_EQ(defmtInt("5:30 PM", "@t3"), timeValue(17, 30, 0));
    EXPECT_EQ(defmtInt("114046", "@t5"), timeValue(11, 40, 46));
}

// ---------------------------------------------------------------- patterns

TEST(PicturePattern, LeadingZerosBlankOnlyInAngleSlots) {
    EXPECT_EQ(fmt(5, "@p(<<#)pb"), QStringLiteral("(  5)"));
    EXPECT_EQ(fmt(45, "@p(<<#)pb"), QStringLiteral("( 45)"));
    EXPECT_EQ(fmt(105, "@p(<<#)pb"), QStringLiteral("(105)"));
    EXPECT_EQ(fmt(0, "@p(<<#)pb"), QString());
    EXPECT_EQ(fmt(0, "@p(<<#)p"), QStringLiteral("(  0)"));
    EXPECT_EQ(fmt(7, "@pPage <<<#p"), QStringLiteral("Page    7"));
    EXPECT_EQ(fmt(1234, "@pPage <<<#p"), QStringLiteral("Page 1234"));
    EXPECT_EQ(fmt(42, "@p###-##p"), QStringLiteral("000-42"));
    EXPECT_EQ(fmt(QStringLiteral("12"), "@P<#P"), QStringLiteral("12"));
}

TEST(PicturePattern, ValuesThatDoNotFitShowHashes) {
    EXPECT_EQ(fmt(12345, "@pPage <<<#p"), QStringLiteral("Page ####"));
    EXPECT_EQ(fmt(-3, "@p(<<#)pb"), QStringLiteral("(###)"));
}

TEST(PicturePattern, DeformatReadsTheDigits) {
    for (qint64 v : {qint64(0), qint64(5), qint64(45), qint64(105)})
        EXPECT_EQ(defmtInt(fmt(v, "@p(<<#)p").toUtf8().constData(), "@p(<<#)p"), v);
    for (qint64 v : {qint64(1), qint64(99), qint64(9999)})
        EXPECT_EQ(defmtInt(fmt(v, "@pPage <<<#p").toUtf8().constData(), "@pPage <<<#p"), v);
    EXPECT_EQ(defmtInt("page 12", "@pPage <<<#p"), 12);
    EXPECT_EQ(defmtInt("12", "@p(<<#)p"), 12);
    EXPECT_EQ(defmtInt("", "@p(<<#)pb"), 0);
    EXPECT_EQ(defmtInt("Page ####", "@pPage <<<#p"), 0);
    EXPECT_EQ(defmtInt("12345", "@pPage <<<#p"), 0);
    EXPECT_EQ(defmtInt("x12", "@p(<<#)p"), 0);
}

// ---------------------------------------------------------------- preferred date picture

TEST(PictureDatePreference, ReplacesEveryDatePictureUpToItsClosingAt) {
    EXPECT_EQ(applyPreferredDatePicture(QStringLiteral("@d17b@"), QStringLiteral("d2")),
              QStringLiteral("@d2@"));
    const QString browse =
        QStringLiteral("80L(2)|M~Released~@d17b@40L(2)|M~BPM~@n_4b@80L(2)|M~Last Played~@D17-@");
    EXPECT_EQ(applyPreferredDatePicture(browse, QStringLiteral("d2")),
              QStringLiteral("80L(2)|M~Released~@d2@40L(2)|M~BPM~@n_4b@80L(2)|M~Last Played~@d2@"));
    EXPECT_EQ(applyPreferredDatePicture(QStringLiteral("~Release~L(1)@d2@/"), QStringLiteral("n4b  ")),
              QStringLiteral("~Release~L(1)@n4b@/"));
    // An entry-field picture has no closing "@".
    EXPECT_EQ(applyPreferredDatePicture(QStringLiteral("@d17"), QStringLiteral("d6")), QStringLiteral("@d6"));
    EXPECT_EQ(applyPreferredDatePicture(QStringLiteral("@d17"), QStringLiteral("@d6")),
              QStringLiteral("@d6"));
}

TEST(PictureDatePreference, BlankPreferenceAndNonDatePicturesAreLeftAlone) {
    const QString list = QStringLiteral("23C|~Track~@n3@32L|~Time~@t4@40L|~Release~L(1)@d2@");
    EXPECT_EQ(applyPreferredDatePicture(list, QString()), list);
    EXPECT_EQ(applyPreferredDatePicture(list, QStringLiteral("   ")), list);
    const QString noDates = QStringLiteral("23C|~Track~@n3@32L|~Time~@t4@");
    EXPECT_EQ(applyPreferredDatePicture(noDates, QStringLiteral("d2")), noDates);
}

TEST_F(PictureLocaleTest, PreferredPictureShowsReleaseDates) {
    const QString column = applyPreferredDatePicture(QStringLiteral("@d17b@"), QStringLiteral("d2"));
    const QString picture = column.left(column.size() - 1);
    EXPECT_EQ(format(halloween1959(), picture), QStringLiteral("10/31/1959"));
    const QString yearColumn = applyPreferredDatePicture(QStringLiteral("@d17b@"), QStringLiteral("n4b"));
    const QString yearPicture = yearColumn.left(yearColumn.size() - 1);
    EXPECT_EQ(format(1985, yearPicture), QStringLiteral("1985"));
    EXPECT_EQ(format(0, yearPicture), QString());
}
