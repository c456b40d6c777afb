// Reading and writing comma-delimited text: one record split into fields, files in the encodings and
// line ends people really have, and the writer's guarantees.

#include "exchange/CsvLine.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvWriter.h"
#include "exchange/TextDecoding.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace srk;

namespace {

QStringList values(const QString& line) {
    QStringList out;
    for (const CsvField& f : splitCsvLine(line))
        out << f.value;
    return out;
}

QString writeFile(const TempFolder& folder, const QByteArray& bytes) {
    const QString path = folder.file(QStringLiteral("in.csv"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QStringList readAll(const QString& path, CsvReader::Status* last = nullptr, qint64* failedLine = nullptr) {
    CsvReader reader;
    EXPECT_TRUE(reader.open(path));
    QStringList records;
    QString r;
    CsvReader::Status s;
    while ((s = reader.next(r)) == CsvReader::Status::Record)
        records << r;
    if (last)
        *last = s;
    if (failedLine)
        *failedLine = reader.lineNumber();
    return records;
}

}  // namespace

TEST(CsvLine, SplitsQuotedUnquotedAndEmptyFields) {
    EXPECT_EQ(values(QStringLiteral("\"a,b\",c")), (QStringList{QStringLiteral("a,b"), QStringLiteral("c")}));
    EXPECT_EQ(values(QStringLiteral("\"say \"\"hi\"\"\",x")),
              (QStringList{QStringLiteral("say \"hi\""), QStringLiteral("x")}));
    // A trailing comma gives no empty last field; two commas give an empty one between them.
    EXPECT_EQ(values(QStringLiteral("a,b,")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(values(QStringLiteral("a,,b")), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    // An unclosed quote takes the rest of the line, doubled quotes still made single.
    EXPECT_EQ(values(QStringLiteral("x,\"open, \"\"end")), (QStringList{QStringLiteral("x"), QStringLiteral("open, \"end")}));
    EXPECT_EQ(values(QStringLiteral("   ")), QStringList());
    EXPECT_EQ(values(QStringLiteral("\"two\nlines\",2")), (QStringList{QStringLiteral("two\nlines"), QStringLiteral("2")}));

    const QVector<CsvField> kinds = splitCsvLine(QStringLiteral("\"q\",12"));
    ASSERT_EQ(kinds.size(), 2);
    EXPECT_EQ(kinds[0].kind, CsvFieldKind::Quoted);
    EXPECT_EQ(kinds[1].kind, CsvFieldKind::Unquoted);
}

TEST(CsvLine, SplitsInPlaceAsTheCopyingSplitterDoes) {
    // Views into the line, or into the scratch text once doubled quotes are undone; the scratch is
    // reused from field to field without one field's value showing in the next.
    const QString line = QStringLiteral("\"say \"\"hi\"\"\",plain,\"q\",,\"\"\"\",\"open \"\"x");
    CsvLineSplitter views(line), copies(line);
    QString scratch;
    QStringList seen;
    for (;;) {
        QStringView value;
        const CsvFieldKind kind = views.next(value, scratch);
        const CsvField copy = copies.next();
        ASSERT_EQ(kind, copy.kind);
        if (kind == CsvFieldKind::None)
            break;
        EXPECT_EQ(value.toString(), copy.value);
        seen << value.toString();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("say \"hi\""), QStringLiteral("plain"), QStringLiteral("q"), QString(),
                                 QStringLiteral("\""), QStringLiteral("open \"x")}));
}

TEST(CsvLine, JoinedFieldsSplitBackToThemselves) {
    const QStringList fields{QStringLiteral("plain"), QStringLiteral("with, comma"), QStringLiteral("\"quoted\""),
                             QString(), QStringLiteral("two\r\nlines"), QStringLiteral("Björk 東京"), QString()};
    QString line;
    for (int i = 0; i < fields.size(); ++i)
        appendCsvField(line, i == 0, fields[i], true);
    EXPECT_EQ(values(line), fields);
    QString numbers;
    appendCsvField(numbers, true, QStringLiteral("12"), false);
    appendCsvField(numbers, false, QStringLiteral("0"), false);
    EXPECT_EQ(numbers, QStringLiteral("12,0"));
}

TEST(TextDecoding, TellsUtf8FromWindows1252) {
    EXPECT_TRUE(isValidUtf8("Bj\xC3\xB6rk", 6));
    EXPECT_FALSE(isValidUtf8("Bj\xF6rk", 5));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF", 2));      // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80", 3));  // surrogate
    EXPECT_FALSE(isValidUtf8("\xC3", 1));
    EXPECT_TRUE(isValidUtf8("\xC3", 1, true));
    EXPECT_EQ(decodeWindows1252("\x80 caf\xE9 \x93x\x94", 10), QStringLiteral("€ café “x”"));
}

TEST(CsvReader, ReadsLineEndsEncodingsAndQuotedBreaks) {
    TempFolder folder;
    // CRLF and LF mixed, a last line without a line end.
    EXPECT_EQ(readAll(writeFile(folder, "a,b\r\nc\nd")),
              (QStringList{QStringLiteral("a,b"), QStringLiteral("c"), QStringLiteral("d")}));
    // A byte-order mark is not part of the first field.
    EXPECT_EQ(readAll(writeFile(folder, "\xEF\xBB\xBF\"SON:Artist\"\r\n\"Bj\xC3\xB6rk\"\r\n")),
              (QStringList{QStringLiteral("\"SON:Artist\""), QStringLiteral("\"Björk\"")}));
    // Not UTF-8: Windows-1252.
    EXPECT_EQ(readAll(writeFile(folder, "\"Caf\xE9\",\x80\r\n")), QStringList{QStringLiteral("\"Café\",€")});
    // Quoted line breaks stay in the record; the next record starts after the closing quote's line.
    EXPECT_EQ(readAll(writeFile(folder, "1,\"two\r\nlines, \"\"q\"\"\"\r\n3\r\n")),
              (QStringList{QStringLiteral("1,\"two\r\nlines, \"\"q\"\"\""), QStringLiteral("3")}));
    // A quote never closed is a stray: each line stands alone.
    EXPECT_EQ(readAll(writeFile(folder, "a,\"stray\nb\nc")),
              (QStringList{QStringLiteral("a,\"stray"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST(CsvReader, StopsAtALineLongerThanTheLimitNamingIt) {
    TempFolder folder;
    QByteArray bytes = "first\r\n\"two\nlines\"\r\n";
    bytes += QByteArray(CsvReader::kMaxRecordCharacters, 'x') + "\r\n";
    bytes += QByteArray(CsvReader::kMaxRecordCharacters + 1, 'y') + "\r\nlast\r\n";
    CsvReader::Status last;
    qint64 line = 0;
    const QStringList records = readAll(writeFile(folder, bytes), &last, &line);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[2].size(), CsvReader::kMaxRecordCharacters);
    EXPECT_EQ(last, CsvReader::Status::TooLong);
    EXPECT_EQ(line, 5);  // the quoted break made record 2 two lines
}

TEST(CsvReader, CountsBytesAndRewinds) {
    TempFolder folder;
    CsvReader reader;
    ASSERT_TRUE(reader.open(writeFile(folder, "ab\r\ncd\n")));
    EXPECT_EQ(reader.size(), 7);
    QString r;
    ASSERT_EQ(reader.next(r), CsvReader::Status::Record);
    EXPECT_EQ(reader.bytesRead(), 4);
    ASSERT_EQ(reader.next(r), CsvReader::Status::Record);
    EXPECT_EQ(reader.bytesRead(), 7);
    EXPECT_EQ(reader.next(r), CsvReader::Status::End);
    ASSERT_TRUE(reader.rewind());
    ASSERT_EQ(reader.next(r), CsvReader::Status::Record);
    EXPECT_EQ(r, QStringLiteral("ab"));
    CsvReader missing;
    EXPECT_FALSE(missing.open(folder.file(QStringLiteral("none.csv"))));
    EXPECT_FALSE(missing.errorText().isEmpty());
}

TEST(CsvWriter, WritesUtf8WithCrlfAndNoHalfLineOnAFullDisk) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("out.csv"));
    CsvWriter writer;
    ASSERT_TRUE(writer.create(path));
    ASSERT_TRUE(writer.open());
    ASSERT_TRUE(writer.addLine(QStringLiteral("\"Björk\",1")));
    ASSERT_TRUE(writer.addLine(QStringLiteral("\"a\nb\"")));
    ASSERT_TRUE(writer.close());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\"Bj\xC3\xB6rk\",1\r\n\"a\nb\"\r\n"));

    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    CsvWriter full;
    ASSERT_TRUE(full.create(QStringLiteral("/dev/full")));
    ASSERT_TRUE(full.open());
    bool failed = false;
    for (int i = 0; i < 20000 && !failed; ++i)
        failed = !full.addLine(QStringLiteral("\"line %1\"").arg(i));
    EXPECT_TRUE(failed);
    EXPECT_EQ(full.written(), 0);
    EXPECT_FALSE(full.errorText().isEmpty());
    EXPECT_FALSE(full.flush());  // a retry fails the same way
    EXPECT_FALSE(full.close());
}
