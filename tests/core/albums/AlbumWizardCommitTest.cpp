#include "core/access/AccessTestSupport.h"

#include "albums/AlbumWizardCommit.h"

using namespace srk;

namespace {

qint64 clock(int m, int s) {
    return qint64(m * 60 + s) * 100 + 1;
}

class WizardCommit : public AccessTest {
protected:
    // The header as the wizard primes it: added at once as a placeholder.
    Record header(qint64 id, const QString& artist, const QString& album) {
        Record h(songsTable());
        h.setNumber(SON::ID, id);
        h.setText(SON::Artist, artist);
        h.setText(SON::Album, album);
        h.setText(SON::Media, QStringLiteral("CD"));
        h.setText(SON::FileNumber, QStringLiteral("F-1"));
        h.setNumber(SON::ReleaseDate, 1999);
        h.setNumber(SON::CategoryID, 3);
        h.setText(SON::AdditionalInformation1, QStringLiteral("from header"));
        h.setText(SON::Notes, QStringLiteral("liner"));
        return add(songsTable(), h);
    }

    Record row(qint64 instance, qint64 track, const QString& title, qint64 time = 0,
               const QString& artist = QString()) {
        Record r(addWizardTable());
        r.setNumber(AW::Instance, instance);
        r.setNumber(AW::Track, track);
        r.setText(AW::Title, title);
        r.setNumber(AW::Time, time);
        r.setText(AW::Artist, artist);
        return add(addWizardTable(), r);
    }

    AlbumWizardCommit commit(const Record& h, qint64 instance = 1, bool addAlbum = true,
                             AlbumWizardKind kind = AlbumWizardKind::SingleArtist) {
        AlbumWizardCommit c;
        c.kind = kind;
        c.header = h;
        c.album = Record(albumTable());
        c.addAlbum = addAlbum;
        c.instance = instance;
        return c;
    }

    QVector<Record> all(const TableDef& def, int key) {
        QVector<Record> out;
        Table(store, def).fetch(key, KeyAnchor::start(), true, 1000, out);
        return out;
    }

    Record songWithId(qint64 id) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        EXPECT_EQ(Table(store, songsTable()).get(SON::KeyID, r), NoError) << id;
        return r;
    }
};

TEST_F(WizardCommit, AddsTheAlbumAndOneSongPerRowInTrackOrder) {
    album(4, QStringLiteral("Older"), QStringLiteral("X"));
    const Record h = header(10, QStringLiteral("Nick Drake"), QStringLiteral("Pink Moon"));
    row(1, 2, QStringLiteral("Place to Be"), clock(2, 43));
    row(1, 1, QStringLiteral("Pink Moon"), clock(2, 6));
    row(1, 3, QString());
    row(2, 1, QStringLiteral("other wizard"));
    AlbumWizardCommit c = commit(h);
    c.album.setText(ALB::CDIdentifier, QStringLiteral("0A1B2C"));

    const AlbumWizardOutcome out = commitAlbumWizard(access, c);
    EXPECT_TRUE(out.albumAdded);
    EXPECT_EQ(out.albumId, 5);
    EXPECT_EQ(out.songsAdded, 3);
    EXPECT_EQ(out.songsNotAdded, 0);
    EXPECT_EQ(messages.count(), 0);

    const QVector<Record> albums = all(albumTable(), ALB::KeyAlbumID);
    ASSERT_EQ(albums.size(), 2);
    const Record& a = albums.last();
    EXPECT_EQ(a.text(ALB::Artist), QStringLiteral("Nick Drake"));
    EXPECT_EQ(a.text(ALB::Album), QStringLiteral("Pink Moon"));
    EXPECT_EQ(a.text(ALB::CDIdentifier), QStringLiteral("0A1B2C"));
    EXPECT_EQ(a.text(ALB::FileNumber), QStringLiteral("F-1"));
    EXPECT_EQ(a.number(ALB::ReleaseDate), 1999);
    EXPECT_EQ(a.number(ALB::CategoryID), 3);
    EXPECT_EQ(a.text(ALB::Notes), QStringLiteral("liner"));
    EXPECT_EQ(a.number(ALB::TotalTime), 0);

    // The first song takes the first id above the placeholder's; the header itself stays as it was.
    EXPECT_EQ(songIds(), (QList<qint64>{10, 11, 12, 13}));
    const Record first = songWithId(11);
    EXPECT_EQ(first.text(SON::Title), QStringLiteral("Pink Moon"));
    EXPECT_EQ(first.number(SON::TrackNumber), 1);
    EXPECT_EQ(first.number(SON::AlbumID), 5);
    EXPECT_EQ(first.text(SON::Artist), QStringLiteral("Nick Drake"));
    EXPECT_EQ(first.number(SON::Time), clock(2, 6));
    EXPECT_EQ(first.text(SON::AdditionalInformation1), QStringLiteral("02:06"));
    EXPECT_EQ(first.text(SON::Notes), QStringLiteral("liner"));
    EXPECT_EQ(songWithId(12).text(SON::Title), QStringLiteral("Place to Be"));
    // A blank title is named by its track; a time of 0 takes nothing from the song before it.
    const Record third = songWithId(13);
    EXPECT_EQ(third.text(SON::Title), QStringLiteral("Track 3"));
    EXPECT_EQ(third.number(SON::Time), 0);
    EXPECT_EQ(third.text(SON::AdditionalInformation1), QStringLiteral("from header"));

    // Only the other wizard's row is left.
    const QVector<Record> left = all(addWizardTable(), AW::KeyInstance);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.first().number(AW::Instance), 2);
}

TEST_F(WizardCommit, CommittingTheSameAlbumAgainGivesACopyThenTheWarning) {
    for (int round = 1; round <= 3; ++round) {
        messages.clear();
        const Record h = header(100 * round, QStringLiteral("Low"), QStringLiteral("Things We Lost "));
        row(1, 1, QStringLiteral("Monkey"));
        const AlbumWizardOutcome out = commitAlbumWizard(access, commit(h));
        EXPECT_EQ(out.songsAdded, 1);
        if (round < 3) {
            EXPECT_TRUE(out.albumAdded);
            EXPECT_EQ(out.albumId, round);
            EXPECT_EQ(messages.count(), 0);
        } else {
            EXPECT_FALSE(out.albumAdded);
            EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Warning")});
            EXPECT_EQ(messages.last().text, QStringLiteral("The artist and album information is a duplicate of "
                                                           "information already in the database"));
            // Linked to the album that clashed, not to a number no album holds.
            EXPECT_EQ(out.albumId, 2);
            EXPECT_EQ(songWithId(301).number(SON::AlbumID), 2);
        }
    }
    const QVector<Record> albums = all(albumTable(), ALB::KeyAlbumID);
    ASSERT_EQ(albums.size(), 2);
    EXPECT_EQ(albums[0].text(ALB::Album), QStringLiteral("Things We Lost"));
    EXPECT_EQ(albums[1].text(ALB::Album), QStringLiteral("Things We Lost (Copy)"));
}

TEST_F(WizardCommit, ATakenSerialNumberIsBlankedAndTheCompilationIsByVarious) {
    Record held = album(1, QStringLiteral("Held"), QStringLiteral("H"));
    held.setText(ALB::CDIdentifier, QStringLiteral("SERIAL"));
    ASSERT_EQ(Table(store, albumTable()).put(held), NoError);
    const Record h = header(1, QString(), QStringLiteral("Nuggets"));
    row(9, 1, QStringLiteral("Lies"), 0, QStringLiteral("The Knickerbockers"));
    AlbumWizardCommit c = commit(h, 9, true, AlbumWizardKind::Compilation);
    c.album.setText(ALB::CDIdentifier, QStringLiteral("serial"));
    const AlbumWizardOutcome out = commitAlbumWizard(access, c);
    ASSERT_TRUE(out.albumAdded);
    const Record a = all(albumTable(), ALB::KeyAlbumID).last();
    EXPECT_EQ(a.text(ALB::Artist), QStringLiteral("Various"));
    EXPECT_EQ(a.text(ALB::CDIdentifier), QString());
    EXPECT_EQ(songWithId(2).text(SON::Artist), QStringLiteral("The Knickerbockers"));
}

TEST_F(WizardCommit, WithTheSwitchOffTheSongsFindAnExistingAlbumOrNone) {
    namedAlbum(7, QStringLiteral("Various"), QStringLiteral("Nuggets"));
    const Record h = header(1, QString(), QStringLiteral("NUGGETS"));
    row(1, 1, QStringLiteral("Lies"));
    AlbumWizardOutcome out = commitAlbumWizard(access, commit(h, 1, false, AlbumWizardKind::Compilation));
    EXPECT_EQ(out.albumId, 7);
    EXPECT_FALSE(out.albumAdded);
    EXPECT_EQ(songWithId(2).number(SON::AlbumID), 7);

    const Record h2 = header(50, QStringLiteral("Nobody"), QStringLiteral("Unknown"));
    row(1, 1, QStringLiteral("Alone"));
    out = commitAlbumWizard(access, commit(h2, 1, false));
    EXPECT_EQ(out.albumId, 0);
    EXPECT_EQ(songWithId(51).number(SON::AlbumID), 0);
    EXPECT_EQ(records(albumTable()), 1);
}

TEST_F(WizardCommit, IdsPastTheSongCountAndASongThatCannotBeAddedKeepsItsRow) {
    // Ids 1..5 are held; the header claims 2, below the count: numbering goes on above 5.
    for (int id = 1; id <= 5; ++id)
        song(id, QStringLiteral("S"));
    Record h(songsTable());
    h.setNumber(SON::ID, 2);
    h.setText(SON::Artist, QStringLiteral("A"));
    h.setText(SON::Album, QStringLiteral("B"));
    row(1, 1, QStringLiteral("one"));
    row(1, 2, QStringLiteral("two"));
    AlbumWizardOutcome out = commitAlbumWizard(access, commit(h, 1, false));
    EXPECT_EQ(out.songsAdded, 2);
    EXPECT_EQ(songIds(), (QList<qint64>{1, 2, 3, 4, 5, 6, 7}));

    // At the highest id no number is free: that song is not stored and only its row stays.
    const qint64 top = Record::maxOf(FieldKind::Int32);
    Record high = header(top, QStringLiteral("A"), QStringLiteral("B"));
    high.setNumber(SON::ID, top - 1);
    messages.clear();
    row(3, 1, QStringLiteral("stored"));
    row(3, 2, QStringLiteral("lost"));
    out = commitAlbumWizard(access, commit(high, 3, false));
    EXPECT_EQ(out.songsAdded, 1);
    EXPECT_EQ(out.songsNotAdded, 1);
    EXPECT_EQ(songWithId(top - 1).text(SON::Title), QStringLiteral("stored"));
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Error!")});
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Error adding to music database from Wizard:  ")));
    const QVector<Record> left = all(addWizardTable(), AW::KeyInstance);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.first().text(AW::Title), QStringLiteral("lost"));
    EXPECT_EQ(songsNotAddedText(2), QStringLiteral("2 songs could not be added. Their rows are kept in the list."));
}

TEST_F(WizardCommit, ASettledAlbumIsNotAddedAgain) {
    namedAlbum(3, QStringLiteral("A"), QStringLiteral("B"));
    const Record h = header(1, QStringLiteral("A"), QStringLiteral("B"));
    row(1, 1, QStringLiteral("retry"));
    AlbumWizardCommit c = commit(h);
    c.settledAlbumId = 3;
    const AlbumWizardOutcome out = commitAlbumWizard(access, c);
    EXPECT_EQ(out.albumId, 3);
    EXPECT_EQ(records(albumTable()), 1);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(WizardCommit, ClashTagsNameEveryUniqueKeyTaken) {
    Record a = namedAlbum(2, QStringLiteral("Art"), QStringLiteral("Name"));
    a.setText(ALB::CDIdentifier, QStringLiteral("CD1"));
    ASSERT_EQ(Table(store, albumTable()).put(a), NoError);
    Record probe(albumTable());
    probe.setNumber(ALB::AlbumID, 2);
    probe.setText(ALB::CDIdentifier, QStringLiteral("CD1"));
    probe.setText(ALB::Artist, QStringLiteral("art"));
    probe.setText(ALB::Album, QStringLiteral("name"));
    EXPECT_EQ(albumClashTags(access, probe), QStringLiteral("[ID][CD][Album][Artist]"));
    probe.setNumber(ALB::AlbumID, 9);
    probe.setText(ALB::Album, QStringLiteral("other"));
    EXPECT_EQ(albumClashTags(access, probe), QStringLiteral("[CD]"));
}

}  // namespace

namespace {

// Notes whether the catalogue's files were held in a write frame while a message waited for its answer.
class FrameWatchingMessages : public MessageService {
public:
    explicit FrameWatchingMessages(Store& store) : m_store(store) {}
    int ask(const Message& message) override {
        titles << message.title;
        heldFrame << m_store.inTransaction();
        return ButtonOk;
    }
    QStringList titles;
    QVector<bool> heldFrame;

private:
    Store& m_store;
};

// A warning answered at leisure must not keep other stations locked out of the catalogue.
TEST_F(WizardCommit, ItsMessagesComeOnceTheFilesAreWritten) {
    FrameWatchingMessages watching(store);
    TableAccess own(store, watching);
    for (int round = 1; round <= 3; ++round) {
        const Record h = header(100 * round, QStringLiteral("Low"), QStringLiteral("Secret Name"));
        row(1, 1, QStringLiteral("Starfire"));
        EXPECT_EQ(commitAlbumWizard(own, commit(h)).songsAdded, 1);
    }
    EXPECT_EQ(watching.titles, QStringList{QStringLiteral("Warning")});
    EXPECT_EQ(watching.heldFrame, QVector<bool>{false});
}

}  // namespace
