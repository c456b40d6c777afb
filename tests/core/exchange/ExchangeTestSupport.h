#pragma once

#include "core/access/AccessTestSupport.h"

#include <QFile>
#include <QStringList>

#include <sqlite3.h>

// A catalogue with every table open, and the file helpers the import and export tests share.
class ExchangeTest : public AccessTest {
protected:
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = folder.file(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }

    QByteArray readFile(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    // Every song, in song-number order.
    QList<srk::Record> allSongs() {
        QList<srk::Record> out;
        srk::Table table(store, srk::songsTable());
        srk::Record r;
        table.setStart(srk::SON::KeyID);
        while (table.next(r) == srk::NoError)
            out << r;
        return out;
    }

    QString categoryName(qint64 id) {
        srk::Table table(store, srk::categoriesTable());
        srk::Record c = table.newRecord();
        c.setNumber(srk::CAT::CategoryID, id);
        return table.get(srk::CAT::KeyCategoryID, c) == srk::NoError ? c.text(srk::CAT::Category) : QString();
    }

    // From the song numbered `fromSong` on, the song file refuses every add, as a full disk would.
    void refuseSongsFrom(int fromSong) {
        const QString sql = QStringLiteral(
                                "CREATE TEMP TRIGGER refuse_songs BEFORE INSERT ON \"%1\".records WHEN NEW.\"ID\" >= %2 "
                                "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END")
                                .arg(srk::Store::schemaName(srk::songsTable()))
                                .arg(fromSong);
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(store.handle(), sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "");
        sqlite3_free(error);
    }
};
