// Disc reading figures: a 99-track disc image read through the "cdaudio" interpreter and libcdio, with
// the wizard's 99 rows written, then with the 99 songs of a saved album written (added on the first
// round, updated after). What the rounds wrote is removed at the end, so the catalogue ends as it began.
//
//   disc_reading_bench --folder DIR [--rounds R]
//
// DIR may be empty (the tables are made) or a generated catalogue:
//   sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "../tests/support/DiscImages.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "cd/CdDeviceChoice.h"
#include "cd/DiscReading.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace srk;
using srk::bench::Figure;

namespace {

constexpr qint64 BenchAlbumId = 2000000001;
constexpr qint64 BenchInstance = 999999;

int removeWritten(Store& store) {
    int removed = 0;
    store.stream();
    Table rows(store, addWizardTable());
    for (int n = 1; n <= 99; ++n) {
        Record r(addWizardTable());
        r.setNumber(AW::Instance, BenchInstance);
        r.setNumber(AW::Track, n);
        if (rows.get(AW::KeyInstance, r) == NoError && rows.remove(r) == NoError)
            ++removed;
    }
    Table songs(store, songsTable());
    for (int n = 1; n <= 99; ++n) {
        Record r(songsTable());
        r.setNumber(SON::AlbumID, BenchAlbumId);
        r.setNumber(SON::TrackNumber, n);
        if (songs.get(SON::KeyAlbumID, r) == NoError && songs.remove(r) == NoError)
            ++removed;
    }
    store.flush();
    return removed;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString folder;
    int rounds = 20;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--rounds"))
            rounds = qMax(1, args[i + 1].toInt());
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: disc_reading_bench --folder DIR [--rounds R]\n");
        return 2;
    }
    QTemporaryDir images;
    QVector<qint32> frames;
    for (int n = 0; n < 99; ++n)
        frames << (30 + n % 40) * 75 + n % 75;
    const QString image = discimages::writeCueBin(images.path(), QStringLiteral("ninety-nine"), frames);
    if (image.isEmpty()) {
        std::fprintf(stderr, "cannot write the disc image\n");
        return 1;
    }
    setCdDeviceOption(image);

    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : {&albumTable(), &songsTable(), &addWizardTable()})
        if (!access.openTable(*def).ok()) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(def->label));
            return 1;
        }
    std::printf("songs in the catalogue: %lld\n", Table(store, songsTable()).records());

    Figure wizardF, songsF;
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        Record album(albumTable());
        album.setText(ALB::Artist, QStringLiteral("Bench"));
        QElapsedTimer t;
        t.start();
        failures += readDisc(store, album, 0, 1, BenchInstance).read != 1;
        wizardF.add(double(t.nsecsElapsed()) / 1e6);

        album.setNumber(ALB::AlbumID, BenchAlbumId);
        album.setText(ALB::Album, QStringLiteral("Bench Disc"));
        t.restart();
        failures += readDisc(store, album, 0, 0, 0).read != 1;
        songsF.add(double(t.nsecsElapsed()) / 1e6);
    }
    wizardF.print("read 99 tracks into wizard rows");
    songsF.print("read 99 tracks into album songs");
    const int removed = removeWritten(store);
    std::printf("rows and songs written and removed: %d (expected 198)\n", removed);
    if (removed != 198)
        ++failures;
    std::printf("failures: %d\n", failures);
    return failures ? 1 : 0;
}
