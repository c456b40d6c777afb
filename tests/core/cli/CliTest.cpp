// sonorika-cli as a user's script runs it: real process, real data folder.

#include "support/TempFolder.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(SONORIKA_CLI), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(Cli, InitGenerateInfoAndCheckOnAFreshFolder) {
    TempFolder data;
    const QString dir = data.path();
    CliRun init = cli({QStringLiteral("--data"), dir, QStringLiteral("init")});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_EQ(init.out.count(QLatin1Char('\n')), 9);
    EXPECT_TRUE(init.out.contains(QRegularExpression(QStringLiteral("Media\\t.*srkmedia\\.sdb\\t12 records"))));

    CliRun gen = cli({QStringLiteral("--data"), dir, QStringLiteral("generate"), QStringLiteral("--songs"),
                   QStringLiteral("2000"), QStringLiteral("--albums"), QStringLiteral("150"), QStringLiteral("--seed"),
                   QStringLiteral("7")});
    ASSERT_EQ(gen.exitCode, 0) << gen.err.toStdString();
    EXPECT_TRUE(gen.out.startsWith(QStringLiteral("2000 songs, 150 albums")));

    CliRun info = cli({QStringLiteral("--data"), dir, QStringLiteral("info")});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_TRUE(info.out.contains(QRegularExpression(QStringLiteral("Sonorika\\t.*\\t2000 records\\tlayout 2"))));
    EXPECT_TRUE(info.out.contains(QRegularExpression(QStringLiteral("Album\\t.*\\t150 records\\tlayout 2"))));

    CliRun check = cli({QStringLiteral("--data"), dir, QStringLiteral("check")});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("no problems found")));
}

TEST(Cli, GenerationIsDeterministicForASeed) {
    TempFolder a, b;
    for (const TempFolder* f : {&a, &b}) {
        ASSERT_EQ(cli({QStringLiteral("--data"), f->path(), QStringLiteral("generate"), QStringLiteral("--songs"),
                       QStringLiteral("300"), QStringLiteral("--albums"), QStringLiteral("20")})
                      .exitCode,
                  0);
    }
    // Same seed, same catalogue: the song and album files hold the same records.
    QFile fa(a.file(QStringLiteral("srkdata.sdb"))), fb(b.file(QStringLiteral("srkdata.sdb")));
    ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
    EXPECT_EQ(fa.readAll(), fb.readAll());
}

TEST(Cli, CheckReportsADamagedFileWithoutTouchingIt) {
    TempFolder data;
    ASSERT_EQ(cli({QStringLiteral("--data"), data.path(), QStringLiteral("init")}).exitCode, 0);
    QFile album(data.file(QStringLiteral("srkalbum.sdb")));
    ASSERT_TRUE(album.open(QIODevice::WriteOnly | QIODevice::Truncate));
    album.write("this is not a catalogue file at all, just some text that happens to be here\n");
    album.close();
    const QByteArray before = [&] {
        QFile f(data.file(QStringLiteral("srkalbum.sdb")));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    CliRun check = cli({QStringLiteral("--data"), data.path(), QStringLiteral("check")});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(check.out.contains(QRegularExpression(QStringLiteral("Album\\tPROBLEM\\t.*Invalid Data File \\(36\\)"))))
        << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QRegularExpression(QStringLiteral("Sonorika\\tok"))));
    QFile after(data.file(QStringLiteral("srkalbum.sdb")));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST(Cli, FormatAndDeformatThroughPictures) {
    CliRun f = cli({QStringLiteral("format"), QStringLiteral("71671"), QStringLiteral("@d2")});
    EXPECT_EQ(f.exitCode, 0);
    EXPECT_EQ(f.out, QStringLiteral("03/21/1997\n"));
    CliRun d = cli({QStringLiteral("deformat"), QStringLiteral("11:40:46"), QStringLiteral("@t4")});
    EXPECT_EQ(d.exitCode, 0);
    EXPECT_EQ(d.out.trimmed().toLongLong() / 100, 4204651 / 100);
}

TEST(Cli, BadInputGivesAClearErrorAndANonZeroExit) {
    TempFolder data;
    const QString dir = data.path();
    const QList<QStringList> bad = {
        {},
        {QStringLiteral("frobnicate")},
        {QStringLiteral("--data")},
        {QStringLiteral("format"), QStringLiteral("1")},
        {QStringLiteral("format"), QStringLiteral("1"), QStringLiteral("no-picture")},
        {QStringLiteral("--data"), dir, QStringLiteral("generate"), QStringLiteral("--songs"), QStringLiteral("10")},
        {QStringLiteral("--data"), dir, QStringLiteral("generate"), QStringLiteral("--songs"), QStringLiteral("-5"),
         QStringLiteral("--albums"), QStringLiteral("1")},
        {QStringLiteral("--data"), dir, QStringLiteral("generate"), QStringLiteral("--songs"), QStringLiteral("ten"),
         QStringLiteral("--albums"), QStringLiteral("1")},
        {QStringLiteral("--data"), dir, QStringLiteral("info"), QStringLiteral("extra")},
        {QStringLiteral("--data"), QStringLiteral("/proc/no/such/folder"), QStringLiteral("init")},
    };
    for (const QStringList& args : bad) {
        CliRun r = cli(args);
        EXPECT_GT(r.exitCode, 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("sonorika-cli: "))) << r.err.toStdString();
    }
    // A folder whose tables are missing: info says which, and fails.
    CliRun info = cli({QStringLiteral("--data"), dir, QStringLiteral("info")});
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_TRUE(info.out.contains(QStringLiteral("missing")));
}

}  // namespace
