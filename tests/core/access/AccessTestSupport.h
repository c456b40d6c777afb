#pragma once

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

// A data folder with every table opened through the access layer, a scripted answerer and small
// builders for the records the relation tests need.
class AccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const srk::TableDef* def : srk::catalogTables())
            ASSERT_TRUE(access.openTable(*def).ok()) << def->label.toStdString();
        ASSERT_TRUE(access.openTable(srk::aSongsTable()).ok());
        messages.clear();
    }

    srk::Record add(const srk::TableDef& def, srk::Record r) {
        srk::Table table(store, def);
        EXPECT_EQ(table.add(r), srk::NoError) << store.lastError().displayText().toStdString();
        return r;
    }

    srk::Record song(int id, const QString& fileNumber, int albumId = 0, int track = 0) {
        srk::Record r(srk::songsTable());
        r.setNumber(srk::SON::ID, id);
        r.setText(srk::SON::Title, QStringLiteral("Song %1").arg(id));
        r.setText(srk::SON::FileNumber, fileNumber);
        r.setNumber(srk::SON::AlbumID, albumId);
        r.setNumber(srk::SON::TrackNumber, track);
        r.setText(srk::SON::Media, QStringLiteral("CD"));
        return add(srk::songsTable(), r);
    }

    srk::Record album(int id, const QString& title, const QString& fileNumber, int categoryId = 0) {
        srk::Record r(srk::albumTable());
        r.setNumber(srk::ALB::AlbumID, id);
        r.setText(srk::ALB::Album, title);
        r.setText(srk::ALB::Artist, QStringLiteral("Artist"));
        r.setText(srk::ALB::FileNumber, fileNumber);
        r.setText(srk::ALB::Media, QStringLiteral("CD"));
        r.setNumber(srk::ALB::CategoryID, categoryId);
        return add(srk::albumTable(), r);
    }

    // An album known only by its artist and name, as the album key finds it.
    srk::Record namedAlbum(int id, const QString& artist, const QString& name) {
        srk::Record r(srk::albumTable());
        r.setNumber(srk::ALB::AlbumID, id);
        r.setText(srk::ALB::Artist, artist);
        r.setText(srk::ALB::Album, name);
        return add(srk::albumTable(), r);
    }

    srk::Record category(int id, const QString& name) {
        srk::Record r(srk::categoriesTable());
        r.setNumber(srk::CAT::CategoryID, id);
        r.setText(srk::CAT::Category, name);
        return add(srk::categoriesTable(), r);
    }

    srk::Record medium(const QString& name) {
        srk::Record r(srk::mediaTable());
        r.setText(srk::MED::Media, name);
        return add(srk::mediaTable(), r);
    }

    srk::Record playlistLine(int playlist, int seq, int songId) {
        srk::Record r(srk::playlistDetailsTable());
        r.setNumber(srk::PLA::PlaylistID, playlist);
        r.setNumber(srk::PLA::PlaylistSeq, seq);
        r.setNumber(srk::PLA::ID, songId);
        return add(srk::playlistDetailsTable(), r);
    }

    // The song numbers left in the song file, in number order.
    QList<qint64> songIds() {
        QList<qint64> ids;
        srk::Table table(store, srk::songsTable());
        srk::Record r;
        table.setStart(srk::SON::KeyID);
        while (table.next(r) == srk::NoError)
            ids << r.number(srk::SON::ID);
        return ids;
    }

    // The record as stored now, found by its position.
    srk::Record reread(const srk::Record& r) {
        srk::Table table(store, *r.def());
        srk::Record out;
        EXPECT_EQ(table.getByPosition(table.position(r), out), srk::NoError);
        return out;
    }

    qint64 records(const srk::TableDef& def) { return srk::Table(store, def).records(); }

    TempFolder folder;
    srk::Store store{folder.path()};
    srk::ScriptedMessages messages;
    srk::TableAccess access{store, messages};
};
