// A report run killed in the middle leaves its page folder behind; the next start clears it, and a
// finished run leaves nothing. Real processes, with the temp folder of their own.

#include "support/TempFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

namespace {

QProcessEnvironment environmentWithTemp(const QString& temp, const QString& config) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), temp);
    env.insert(QStringLiteral("SONORIKA_CONFIG"), config);
    return env;
}

int runCli(const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SONORIKA_CLI), args);
    if (!p.waitForFinished(300000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QStringList runFolders(const QString& temp) {
    return QDir(temp + QStringLiteral("/sonorika-reports")).entryList({QStringLiteral("run-*")}, QDir::Dirs);
}

int pageFiles(const QString& temp) {
    int count = 0;
    for (const QString& run : runFolders(temp))
        count += int(QDir(temp + QStringLiteral("/sonorika-reports/") + run).entryList({QStringLiteral("*.srp")}, QDir::Files).size());
    return count;
}

}  // namespace

TEST(KilledReport, AFolderLeftByAKilledRunIsClearedByTheNextAndAFinishedRunLeavesNothing) {
    TempFolder data, temp, config, out;
    const QProcessEnvironment env = environmentWithTemp(temp.path(), config.path());
    ASSERT_EQ(runCli({QStringLiteral("--data"), data.path(), QStringLiteral("init")}, env), 0);
    ASSERT_EQ(runCli({QStringLiteral("--data"), data.path(), QStringLiteral("generate"), QStringLiteral("--songs"),
                      QStringLiteral("30000"), QStringLiteral("--albums"), QStringLiteral("100")},
                     env),
              0);

    QProcess run;
    run.setProcessEnvironment(env);
    run.start(QStringLiteral(SONORIKA_CLI), {QStringLiteral("--data"), data.path(), QStringLiteral("report"),
                                            QStringLiteral("PrintSON:SongsByArtist"), QStringLiteral("--pdf"),
                                            out.file(QStringLiteral("killed.pdf"))});
    ASSERT_TRUE(run.waitForStarted(10000));
    // Killed once some pages are on disk (or, on a very fast machine, wherever it is after they are).
    QElapsedTimer waited;
    waited.start();
    while (pageFiles(temp.path()) < 3 && run.state() == QProcess::Running && waited.elapsed() < 120000)
        QThread::msleep(20);
    const bool killedMidway = run.state() == QProcess::Running;
    run.kill();
    ASSERT_TRUE(run.waitForFinished(10000));
    if (killedMidway) {
        EXPECT_EQ(runFolders(temp.path()).size(), 1);
        EXPECT_GE(pageFiles(temp.path()), 3);
    }

    // The next run clears what the dead one left and, once finished, leaves nothing of its own.
    ASSERT_EQ(runCli({QStringLiteral("--data"), data.path(), QStringLiteral("report"), QStringLiteral("BRIEFALBUMSBYALBUM"),
                      QStringLiteral("--pdf"), out.file(QStringLiteral("next.pdf"))},
                     env),
              0);
    EXPECT_TRUE(runFolders(temp.path()).isEmpty()) << runFolders(temp.path()).join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(QFile::exists(out.file(QStringLiteral("next.pdf"))));
}
