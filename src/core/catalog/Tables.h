#pragma once

#include "store/TableDef.h"

#include <QVector>

namespace srk {

// Field indexes of each table, in declared order (memos after the fields).
namespace SON {
enum Field {
    Artist, Title, Album, Media, FileNumber, ReleaseDate, CategoryID, ChartNumber, TrackNumber, Side, Time,
    UserDefinedKeyField, AdditionalInformation1, AdditionalInformation2, AdditionalInformation3,
    BeatsPerMinute, Style, Composer, LastPlayed, ID, AlbumID,
    Recording, PerformanceNotes, Notes,
};
enum Key {
    SongsByArtist, SongsByTitle, SongsByAlbum, SongsByMedia, SongsByCategory, SongsByChartNumber,
    SongsByUserDefinedKey, KeyID, KeyAlbumID, KeyBeatsPerMinute, KeyFileNumber,
};
}  // namespace SON

namespace ALB {
enum Field {
    AlbumID, Artist, Album, Media, FileNumber, ReleaseDate, CategoryID, AssociatedWavFile, AssociatedImage,
    CDIdentifier, XCCD, Playlist, TotalTime,
    Recording, Performance, Notes,
};
enum Key { KeyAlbumID, KeyAlbum, KeyArtist, KeyCDIdentifier, KeyFileNumber, KeyCategory, KeyCategoryArtist };
}  // namespace ALB

namespace CAT {
enum Field { CategoryID, Category };
enum Key { KeyCategoryID, KeyCategory };
}  // namespace CAT

namespace MED {
enum Field { Media };
enum Key { KeyMedia };
}  // namespace MED

namespace LAB {
enum Field {
    LabelID, LabelDescription, LabelType, AlbumID, CDSpine, CDSpineFontID, CDTitle, CDTitleFontID,
    CDCoverTextFontID, CDInsideTextFontID, CDSpineJustification, CDTextJustification,
    CDBackCoverJustification, CassetteFlapFontID, CassetteTitleFontID, CassetteContentsFontID,
    CassetteFormat, ImageName, ImagePositionX, ImagePositionY, ImageSize, ImageSizeX, ImageSizeY,
    CDCoverText, CDInsideText, CassetteFlap, CassetteTitle, CassetteContentsA, CassetteContentsB,
};
enum Key { KeyLabelID, KeyLabelDescription, KeyLabelType };
}  // namespace LAB

namespace FON {
enum Field { FontID, TypeFace, Size, Colour, Style };
enum Key { KeyFontID, KeyTypeFace };
}  // namespace FON

namespace AW {
enum Field { Instance, Side, Track, Artist, Title, Time };
enum Key { KeyInstance };
}  // namespace AW

namespace PLD {
enum Field { PlaylistID, PlaylistDescription, LastEditDate, Notes };
enum Key { KeyPlaylistID, KeyPlaylistDescription };
}  // namespace PLD

namespace PLA {
enum Field { PlaylistID, PlaylistSeq, ID, PlaylistNotes, LastWeek, ThisWeek, HighestChartPosition };
enum Key { KeyPlaylistID, KeyID };
}  // namespace PLA

// The table declarations. A_Songs is a second view of the song file with prefix A_S.
const TableDef& songsTable();
const TableDef& aSongsTable();
const TableDef& albumTable();
const TableDef& categoriesTable();
const TableDef& mediaTable();
const TableDef& labelsTable();
const TableDef& fontsTable();
const TableDef& addWizardTable();
const TableDef& playlistMasterTable();
const TableDef& playlistDetailsTable();

// The nine tables in declaration order (A_Songs not included: it shares the song file).
QVector<const TableDef*> catalogTables();
// Look a table up by its label ("Sonorika", "A_Songs", "Album", ...) or prefix, case-insensitive.
const TableDef* tableByLabel(const QString& labelOrPrefix);

// The twelve media a new catalogue starts with, in order.
QStringList defaultMedia();

}  // namespace srk
