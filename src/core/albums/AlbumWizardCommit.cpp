#include "albums/AlbumWizardCommit.h"

#include "albums/AddWizardRows.h"
#include "access/AutoNumber.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/Table.h"
#include "text/Picture.h"

#include <QVector>

namespace srk {

namespace {

constexpr int kIdTries = 10000;

const QString kVarious = QStringLiteral("Various");

// Messages wait until the files are written: a box answered at leisure must not keep the other stations
// locked out of the catalogue.
using Notes = QVector<Message>;

void note(Notes& notes, const QString& title, const QString& text) {
    notes.append({title, text, ButtonOk, ButtonOk});
}

QString errorText(TableAccess& access) {
    return access.store().lastError().displayText();
}

// The album holding the same values in one key, if any.
bool taken(Table& albums, int key, const Record& album, Record* found = nullptr) {
    Record probe = album;
    if (albums.get(key, probe) != NoError)
        return false;
    if (found)
        *found = probe;
    return true;
}

qint64 albumNamed(Table& albums, const QString& artist, const QString& name) {
    Record probe(albumTable());
    probe.setText(ALB::Artist, artist);
    probe.setText(ALB::Album, name);
    Record found;
    return taken(albums, ALB::KeyAlbum, probe, &found) ? found.number(ALB::AlbumID) : 0;
}

// Step 1 with the switch on; the album id the songs are linked to.
qint64 addWizardAlbum(TableAccess& access, const AlbumWizardCommit& c, AlbumWizardOutcome& out, Notes& notes) {
    Table albums(access.store(), albumTable());
    const Record& h = c.header;
    Record album(albumTable());
    qint64 id = 0;
    nextAutoNumber(access.store(), albumTable(), album, id);
    album.setText(ALB::CDIdentifier, c.album.isValid() ? c.album.text(ALB::CDIdentifier) : QString());
    album.setNumber(ALB::AlbumID, id);
    album.setText(ALB::Notes, h.text(SON::Notes));
    album.setText(ALB::FileNumber, h.text(SON::FileNumber));
    album.setText(ALB::Media, h.text(SON::Media));
    album.setNumber(ALB::ReleaseDate, h.number(SON::ReleaseDate));
    album.setNumber(ALB::CategoryID, h.number(SON::CategoryID));
    album.setText(ALB::Artist, c.kind == AlbumWizardKind::Compilation ? kVarious : h.text(SON::Artist));
    album.setText(ALB::Album, h.text(SON::Album));

    while (taken(albums, ALB::KeyAlbumID, album) && id < Record::maxOf(FieldKind::Int32))
        album.setNumber(ALB::AlbumID, ++id);
    if (!album.text(ALB::CDIdentifier).isEmpty() && taken(albums, ALB::KeyCDIdentifier, album))
        album.setText(ALB::CDIdentifier, QString());
    if (taken(albums, ALB::KeyAlbum, album))
        album.setText(ALB::Album, album.text(ALB::Album).trimmed() + QStringLiteral(" (Copy)"));
    Record clash;
    if (taken(albums, ALB::KeyArtist, album, &clash)) {
        note(notes, QStringLiteral("Warning"),
             QStringLiteral("The artist and album information is a duplicate of information already in the "
                            "database"));
        // The songs go to the album that is already there rather than to a number nobody holds.
        return clash.number(ALB::AlbumID);
    }
    if (albums.add(album) != NoError) {
        const QString error = errorText(access);
        note(notes, QStringLiteral("Error"),
             QStringLiteral("Error adding album information:\n\n") + error + QLatin1Char('\n') +
                 albumClashTags(access, album));
        return albumNamed(albums, album.text(ALB::Artist), album.text(ALB::Album));
    }
    out.albumAdded = true;
    return album.number(ALB::AlbumID);
}

// Adds the song, moving its id on past clashes; false when it could not be stored.
bool addSong(TableAccess& access, Table& songs, Record& song, Notes& notes) {
    int rc = songs.add(song);
    if (rc == DuplicateKey) {
        const qint64 count = songs.records();
        if (song.number(SON::ID) < count)
            song.setNumber(SON::ID, count);
        int tries = 0;
        do {
            song.setNumber(SON::ID, song.number(SON::ID) + 1);
        } while (songs.duplicateKey(song) >= 0 && ++tries < kIdTries);
        rc = songs.add(song);
    }
    if (rc == NoError)
        return true;
    note(notes, QStringLiteral("Error!"),
         QStringLiteral("Error adding to music database from Wizard:  ") + errorText(access));
    return false;
}

}  // namespace

QString albumClashTags(TableAccess& access, const Record& album) {
    Table albums(access.store(), albumTable());
    QString tags;
    if (taken(albums, ALB::KeyAlbumID, album))
        tags += QStringLiteral("[ID]");
    if (!album.text(ALB::CDIdentifier).isEmpty() && taken(albums, ALB::KeyCDIdentifier, album))
        tags += QStringLiteral("[CD]");
    if (taken(albums, ALB::KeyAlbum, album))
        tags += QStringLiteral("[Album]");
    if (taken(albums, ALB::KeyArtist, album))
        tags += QStringLiteral("[Artist]");
    return tags;
}

QString songsNotAddedText(int count) {
    return count == 1 ? QStringLiteral("1 song could not be added. Its row is kept in the list.")
                      : QStringLiteral("%1 songs could not be added. Their rows are kept in the list.").arg(count);
}

AlbumWizardOutcome commitAlbumWizard(TableAccess& access, const AlbumWizardCommit& c) {
    AlbumWizardOutcome out;
    Notes notes;
    Store& store = access.store();
    store.stream();

    if (c.settledAlbumId >= 0) {
        out.albumId = c.settledAlbumId;
    } else if (c.addAlbum) {
        out.albumId = addWizardAlbum(access, c, out, notes);
    } else {
        Table albums(store, albumTable());
        out.albumId = albumNamed(albums,
                                 c.kind == AlbumWizardKind::Compilation ? kVarious : c.header.text(SON::Artist),
                                 c.header.text(SON::Album));
    }

    QVector<Record> rows;
    if (readAddWizardRows(store, c.instance, rows) != NoError) {
        out.readFailed = true;
        note(notes, QStringLiteral("Error!"), QStringLiteral("Error adding from Wizard:  ") + errorText(access));
    }

    Table songs(store, songsTable());
    Table wizardRows(store, addWizardTable());
    qint64 id = c.header.number(SON::ID);
    for (const Record& row : rows) {
        // Each song starts from the header: nothing of the song before it carries over.
        Record song = c.header;
        song.setRowId(0);
        song.setChangeCount(0);
        song.setNumber(SON::AlbumID, out.albumId);
        song.setNumber(SON::ID, id == 0 ? 1 : id);
        const qint64 track = row.number(AW::Track);
        song.setNumber(SON::TrackNumber, track);
        const QString title = row.text(AW::Title);
        song.setText(SON::Title, title.trimmed().isEmpty() ? QStringLiteral("Track %1").arg(track) : title);
        if (c.kind == AlbumWizardKind::Compilation)
            song.setText(SON::Artist, row.text(AW::Artist));
        const qint64 time = row.number(AW::Time);
        song.setNumber(SON::Time, time);
        if (time != 0)
            song.setText(SON::AdditionalInformation1, format(time, QStringLiteral("@t4")).right(5));
        if (addSong(access, songs, song, notes)) {
            ++out.songsAdded;
            if (wizardRows.remove(row) != NoError)
                note(notes, QStringLiteral("Error!"),
                     QStringLiteral("Error adding from Wizard:  ") + errorText(access));
        } else {
            ++out.songsNotAdded;
        }
        id = song.number(SON::ID) + 1;
    }
    store.flush();
    for (const Message& m : notes)
        access.ask(m);
    return out;
}

}  // namespace srk
