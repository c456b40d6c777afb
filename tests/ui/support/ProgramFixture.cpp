#include "ui/support/ProgramFixture.h"

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Record.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/support/ModalWindows.h"

namespace srk::testing {

void ProgramFixture::startProgram() {
    Program::Options o;
    o.dataFolder = data.path();
    o.configFolder = config.path();
    o.messages = &messages;
    o.showSplash = false;
    o.catchSignals = catchSignals;
    program = std::make_unique<Program>(o);
    ASSERT_TRUE(program->start()) << program->stopText().toStdString();
    messages.clear();
}

void ProgramFixture::TearDown() {
    finishModalWaits();
    program.reset();
}

Store& ProgramFixture::store() {
    return *program->context().store;
}

ProgramContext& ProgramFixture::context() {
    return program->context();
}

void ProgramFixture::add(Record r) {
    TableUse use(*context().access);
    ASSERT_TRUE(use.open(*r.def()));
    ASSERT_EQ(Table(store(), *r.def()).add(r), NoError) << store().lastError().displayText().toStdString();
}

void ProgramFixture::addSong(qint64 id, const QString& artist, const QString& title, qint64 time) {
    Record s(songsTable());
    s.setNumber(SON::ID, id);
    s.setText(SON::Artist, artist);
    s.setText(SON::Title, title);
    s.setText(SON::Media, QStringLiteral("CD"));
    s.setNumber(SON::Time, time);
    add(s);
}

void ProgramFixture::addPlaylist(qint64 id, const QString& description) {
    Record p(playlistMasterTable());
    p.setNumber(PLD::PlaylistID, id);
    p.setText(PLD::PlaylistDescription, description);
    add(p);
}

void ProgramFixture::addLine(qint64 playlist, qint64 seq, qint64 song, const QString& note) {
    Record l(playlistDetailsTable());
    l.setNumber(PLA::PlaylistID, playlist);
    l.setNumber(PLA::PlaylistSeq, seq);
    l.setNumber(PLA::ID, song);
    l.setText(PLA::PlaylistNotes, note);
    add(l);
}

} // namespace srk::testing
