// sonorika-cli import and export as a user's script runs them: real processes, real data folders.

#include "support/TempFolder.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(SONORIKA_CLI), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString data(const TempFolder& f) { return f.path(); }

}  // namespace

TEST(ExchangeCli, ExportThenImportWithTheHeaderIntoAnEmptyCatalogue) {
    TempFolder from, to;
    ASSERT_EQ(cli({QStringLiteral("--data"), data(from), QStringLiteral("generate"), QStringLiteral("--songs"),
                   QStringLiteral("500"), QStringLiteral("--albums"), QStringLiteral("40")})
                  .exitCode,
              0);
    const QString csv = from.file(QStringLiteral("songs.csv"));
    const CliResult exported = cli({QStringLiteral("--data"), data(from), QStringLiteral("export"), csv});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.startsWith(QStringLiteral("500 songs written")));
    EXPECT_TRUE(exported.err.contains(QStringLiteral("100% Completed")));

    const CliResult imported = cli({QStringLiteral("--data"), data(to), QStringLiteral("import"), csv});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.startsWith(QStringLiteral("500 songs added"))) << imported.out.toStdString();
    const CliResult info = cli({QStringLiteral("--data"), data(to), QStringLiteral("info")});
    EXPECT_TRUE(info.out.contains(QRegularExpression(QStringLiteral("Sonorika\\t.*\\t500 records"))));

    // Written again from both catalogues without the category numbers (new ones were given), the files are
    // the same byte for byte.
    QStringList fields;
    for (const char* name : {"SON:Artist", "SON:Title", "SON:Album", "SON:Media", "SON:FileNumber", "SON:ReleaseDate",
                             "SON:ChartNumber", "SON:TrackNumber", "SON:Side", "SON:Time", "SON:UserDefinedKeyField",
                             "SON:AdditionalInformation1", "SON:AdditionalInformation2", "SON:AdditionalInformation3",
                             "SON:BeatsPerMinute", "SON:Style", "SON:Recording", "SON:Composer", "SON:PerformanceNotes",
                             "SON:LastPlayed", "SON:Notes", "CAT:Category"})
        fields << QString::fromLatin1(name);
    const QString first = from.file(QStringLiteral("first.csv")), again = to.file(QStringLiteral("again.csv"));
    ASSERT_EQ(cli({QStringLiteral("--data"), data(from), QStringLiteral("export"), first, QStringLiteral("--fields"),
                   fields.join(QLatin1Char(','))}).exitCode, 0);
    ASSERT_EQ(cli({QStringLiteral("--data"), data(to), QStringLiteral("export"), again, QStringLiteral("--fields"),
                   fields.join(QLatin1Char(','))}).exitCode, 0);
    QFile a(first), b(again);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    const QByteArray bytes = a.readAll();
    EXPECT_EQ(bytes.count('\n'), 501);
    EXPECT_EQ(bytes, b.readAll());
}

TEST(ExchangeCli, MapPicturesFieldsAndFailures) {
    TempFolder folder;
    const QString csv = folder.file(QStringLiteral("in.csv"));
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"Hey Jude\",\"The Beatles\",\"08/26/1968\"\r\n\"Let It Be\",\"The Beatles\",\"03/06/1970\"\r\n");
    }
    const CliResult run = cli({QStringLiteral("--data"), data(folder), QStringLiteral("import"), csv, QStringLiteral("--map"),
                         QStringLiteral("SON:Title=1,SON:Artist=2,SON:ReleaseDate=3"), QStringLiteral("--picture"),
                         QStringLiteral("3=@d2")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("2 songs added")));

    const QString out = folder.file(QStringLiteral("out.csv"));
    const CliResult exported = cli({QStringLiteral("--data"), data(folder), QStringLiteral("export"), out, QStringLiteral("--fields"),
                              QStringLiteral("SON:Title,SON:ReleaseDate@d6"), QStringLiteral("--no-header")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\"Hey Jude\",\"26/08/1968\"\r\n\"Let It Be\",\"06/03/1970\"\r\n"));

    // Failures exit non-zero with the message.
    const CliResult noFields = cli({QStringLiteral("--data"), data(folder), QStringLiteral("import"), csv,
                              QStringLiteral("--map"), QStringLiteral("")});
    EXPECT_NE(noFields.exitCode, 0);
    const CliResult unmapped = cli({QStringLiteral("--data"), data(folder), QStringLiteral("import"), csv});
    EXPECT_EQ(unmapped.exitCode, 1);
    EXPECT_TRUE(unmapped.err.contains(QStringLiteral("You must select one or more fields to import.")));
    const CliResult missing = cli({QStringLiteral("--data"), data(folder), QStringLiteral("import"), folder.file(QStringLiteral("no.csv"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Cannot OPEN ")));
    const CliResult badField = cli({QStringLiteral("--data"), data(folder), QStringLiteral("export"), out,
                              QStringLiteral("--fields"), QStringLiteral("SON:Nope")});
    EXPECT_EQ(badField.exitCode, 2);
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        const CliResult full = cli({QStringLiteral("--data"), data(folder), QStringLiteral("export"), QStringLiteral("/dev/full")});
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_TRUE(full.err.contains(QStringLiteral("Cannot ADD to /dev/full"))) << full.err.toStdString();
    }
}
