// Feeds random bytes to the comma-delimited reader and splitter and to the import's picture step.
// Whatever a line splits into, quoting those fields and joining them, writing the line to a file and
// reading it back must give the same fields again; a value read through a date or time picture, shown
// and read again, shows the same (a shown time has no hundredths, so the first reading may lose them).
#include "exchange/CsvLine.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvWriter.h"
#include "exchange/ImportValue.h"
#include "text/Picture.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace srk;

namespace {

const QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

QStringList values(QStringView line) {
    QStringList out;
    for (const CsvField& f : splitCsvLine(line))
        out << f.value;
    return out;
}

void check(bool ok) {
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 40000)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = folder().path() + QStringLiteral("/in.csv");

    // The reader on the raw bytes: every record within the limit, the byte count never past the file.
    {
        QFile f(path);
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    CsvReader reader;
    check(reader.open(path));
    QString record;
    QStringList records;
    CsvReader::Status status;
    while ((status = reader.next(record)) == CsvReader::Status::Record) {
        check(record.size() <= 2 * CsvReader::kMaxRecordCharacters);
        check(reader.bytesRead() <= qint64(size));
        records << record;
    }
    check(status != CsvReader::Status::ReadError);

    // Split, re-join, write, read, split: the same fields.
    for (const QString& r : std::as_const(records)) {
        const QStringList fields = values(r);
        QString joined;
        for (int i = 0; i < fields.size(); ++i)
            appendCsvField(joined, i == 0, fields[i], true);
        check(values(joined) == fields);
        CsvWriter writer;
        const QString out = folder().path() + QStringLiteral("/out.csv");
        check(writer.create(out) && writer.open() && writer.addLine(joined) && writer.close());
        CsvReader back;
        check(back.open(out));
        QString line;
        const CsvReader::Status s = back.next(line);
        if (s == CsvReader::Status::TooLong)
            continue;
        check(s == CsvReader::Status::Record || (fields.isEmpty() && s == CsvReader::Status::End));
        if (s == CsvReader::Status::Record)
            check(values(line) == fields);
    }

    // The picture step: a first byte picks the picture; what it reads shows stably.
    if (size > 1) {
        static const char* const pictures[] = {"@d2", "@d6", "@d4", "@d8", "@t4", "@t1", "@d2-", "@t5"};
        const QString picture = QString::fromLatin1(pictures[data[0] % 8]);
        const QString text = QString::fromUtf8(bytes.mid(1).left(200));
        const qint64 value = throughPicture(text, picture).toLongLong();
        // Run-together hours past 99 do not read back ("6450700"): times are checked below that.
        const bool time = picture.startsWith(QLatin1String("@t"));
        if (value > 0 && !(time && value >= 100LL * 360000)) {
            const QString shown = format(QVariant::fromValue(value), picture);
            const qint64 again = throughPicture(shown, picture).toLongLong();
            check(format(QVariant::fromValue(again), picture) == shown);
        }
    }
    return 0;
}
