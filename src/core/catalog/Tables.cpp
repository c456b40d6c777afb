#include "catalog/Tables.h"

namespace srk {

namespace {

FieldDef text(const char* name, int width, const char* picture = nullptr) {
    return {QString::fromLatin1(name), FieldKind::Text, width,
            picture ? QString::fromLatin1(picture) : QStringLiteral("@s%1").arg(width)};
}
FieldDef num(const char* name, FieldKind kind, const char* picture = "") {
    return {QString::fromLatin1(name), kind, 0, QString::fromLatin1(picture)};
}
FieldDef memo(const char* name, int width) { return {QString::fromLatin1(name), FieldKind::Memo, width, QString()}; }

KeyDef key(const char* name, QVector<int> components, bool unique, bool primary = false, bool keepsEmpty = false) {
    return {QString::fromLatin1(name), std::move(components), unique, primary, keepsEmpty};
}
constexpr bool Dups = false;
constexpr bool Unique = true;

TableDef makeSongs(const char* label, const char* prefix) {
    using namespace SON;
    TableDef t;
    t.label = QString::fromLatin1(label);
    t.prefix = QString::fromLatin1(prefix);
    t.diskName = QStringLiteral("srkdata");
    t.version = 2;
    t.fields = {
        text("Artist", 40), text("Title", 40), text("Album", 40), text("Media", 20), text("FileNumber", 20),
        num("ReleaseDate", FieldKind::Date, "@d17"), num("CategoryID", FieldKind::Int32, "@n-13"),
        num("ChartNumber", FieldKind::UInt8, "@n3"), num("TrackNumber", FieldKind::UInt8, "@n3"),
        text("Side", 1), num("Time", FieldKind::Time, "@t4"), text("UserDefinedKeyField", 30),
        text("AdditionalInformation1", 80), text("AdditionalInformation2", 80), text("AdditionalInformation3", 80),
        num("BeatsPerMinute", FieldKind::Int32, "@n_4b"), text("Style", 30), text("Composer", 80),
        num("LastPlayed", FieldKind::Date, "@d17-"), num("ID", FieldKind::Int32), num("AlbumID", FieldKind::Int32),
        memo("Recording", 256), memo("PerformanceNotes", 256), memo("Notes", 2000),
    };
    t.memoCount = 3;
    t.keys = {
        key("SongsByArtist", {Artist, Title}, Dups, false, true),
        key("SongsByTitle", {Title, Artist}, Dups, false, true),
        key("SongsByAlbum", {Album, Artist, Side, TrackNumber, Title}, Dups, false, true),
        key("SongsByMedia", {Media, FileNumber, Title}, Dups, false, true),
        key("SongsByCategory", {CategoryID, Artist, Title, Album}, Dups),
        key("SongsByChartNumber", {ChartNumber, Artist, Title}, Dups),
        key("SongsByUserDefinedKey", {UserDefinedKeyField, Artist, Title}, Dups),
        key("KeyID", {ID}, Unique, true),
        key("KeyAlbumID", {AlbumID, TrackNumber}, Dups),
        key("KeyBeatsPerMinute", {BeatsPerMinute, Title, Artist}, Dups),
        key("KeyFileNumber", {FileNumber}, Dups),
    };
    return t;
}

TableDef makeAlbum() {
    using namespace ALB;
    TableDef t{QStringLiteral("Album"), QStringLiteral("ALB"), QStringLiteral("srkalbum"), 2, {}, 3, {}};
    t.fields = {
        num("AlbumID", FieldKind::Int32), text("Artist", 40), text("Album", 40), text("Media", 20),
        text("FileNumber", 20), num("ReleaseDate", FieldKind::Date, "@d2"), num("CategoryID", FieldKind::Dec6),
        text("AssociatedWavFile", 128), text("AssociatedImage", 128), text("CDIdentifier", 24), text("XCCD", 32),
        text("Playlist", 70), num("TotalTime", FieldKind::Time, "@t4"),
        memo("Recording", 256), memo("Performance", 256), memo("Notes", 2000),
    };
    t.keys = {
        key("KeyAlbumID", {AlbumID}, Unique, true),
        key("KeyAlbum", {Album, Artist}, Unique),
        key("KeyArtist", {Artist, Album}, Unique),
        key("KeyCDIdentifier", {CDIdentifier}, Unique),
        key("KeyFileNumber", {FileNumber}, Dups),
        key("KeyCategory", {CategoryID, Album, Artist}, Dups),
        key("KeyCategoryArtist", {CategoryID, Artist, Album}, Dups),
    };
    return t;
}

TableDef makeCategories() {
    TableDef t{QStringLiteral("Categories"), QStringLiteral("CAT"), QStringLiteral("SRKCAT"), 1, {}, 0, {}};
    t.fields = {num("CategoryID", FieldKind::Dec6, "@n-13"), text("Category", 30)};
    t.keys = {key("KeyCategoryID", {CAT::CategoryID}, Unique, true), key("KeyCategory", {CAT::Category}, Unique)};
    return t;
}

TableDef makeMedia() {
    TableDef t{QStringLiteral("Media"), QStringLiteral("MED"), QStringLiteral("srkmedia"), 1, {}, 0, {}};
    t.fields = {text("Media", 20)};
    t.keys = {key("KeyMedia", {MED::Media}, Unique)};
    return t;
}

TableDef makeLabels() {
    using namespace LAB;
    TableDef t{QStringLiteral("Labels"), QStringLiteral("LAB"), QStringLiteral("srklabel"), 2, {}, 6, {}};
    t.fields = {
        num("LabelID", FieldKind::Dec6, "@n-13"), text("LabelDescription", 30), text("LabelType", 9),
        num("AlbumID", FieldKind::Int32), text("CDSpine", 100), num("CDSpineFontID", FieldKind::Int32),
        text("CDTitle", 100), num("CDTitleFontID", FieldKind::Int32), num("CDCoverTextFontID", FieldKind::Int32),
        num("CDInsideTextFontID", FieldKind::Int32), text("CDSpineJustification", 6),
        text("CDTextJustification", 6), text("CDBackCoverJustification", 6),
        num("CassetteFlapFontID", FieldKind::Int32), num("CassetteTitleFontID", FieldKind::Int32),
        num("CassetteContentsFontID", FieldKind::Int32), text("CassetteFormat", 20), text("ImageName", 255),
        num("ImagePositionX", FieldKind::Int32), num("ImagePositionY", FieldKind::Int32), text("ImageSize", 20),
        num("ImageSizeX", FieldKind::Int32, "@n-13"), text("ImageSizeY", 20),
        memo("CDCoverText", 3000), memo("CDInsideText", 3000), memo("CassetteFlap", 1024),
        memo("CassetteTitle", 1024), memo("CassetteContentsA", 3000), memo("CassetteContentsB", 3000),
    };
    t.keys = {
        key("KeyLabelID", {LabelID}, Unique, true),
        key("KeyLabelDescription", {LabelDescription}, Unique),
        key("KeyLabelType", {LabelType, LabelDescription}, Dups),
    };
    return t;
}

TableDef makeFonts() {
    using namespace FON;
    TableDef t{QStringLiteral("Fonts"), QStringLiteral("FON"), QStringLiteral("srkfont"), 1, {}, 0, {}};
    t.fields = {num("FontID", FieldKind::Dec6, "@n-13"), text("TypeFace", 32), text("Size", 32), text("Colour", 32),
                text("Style", 32)};
    t.keys = {key("KeyFontID", {FontID}, Unique, true), key("KeyTypeFace", {TypeFace, Size, Colour, Style}, Unique)};
    return t;
}

TableDef makeAddWizard() {
    using namespace AW;
    TableDef t{QStringLiteral("AddWizard"), QStringLiteral("AW"), QStringLiteral("SRKAdWiz"), 1, {}, 0, {}};
    t.fields = {num("Instance", FieldKind::Dec6), text("Side", 1), num("Track", FieldKind::Dec2, "@n3"),
                text("Artist", 30), text("Title", 30), num("Time", FieldKind::Time, "@t4b")};
    t.keys = {key("KeyInstance", {Instance, Side, Track}, Unique, true)};
    return t;
}

TableDef makePlaylistMaster() {
    using namespace PLD;
    TableDef t{QStringLiteral("PlaylistMaster"), QStringLiteral("PLD"), QStringLiteral("srkplist"), 1, {}, 1, {}};
    t.fields = {num("PlaylistID", FieldKind::Int32), text("PlaylistDescription", 30, "@s20"),
                num("LastEditDate", FieldKind::Date, "@d18"), memo("Notes", 1000)};
    t.keys = {key("KeyPlaylistID", {PlaylistID}, Unique, true),
              key("KeyPlaylistDescription", {PlaylistDescription}, Unique)};
    return t;
}

TableDef makePlaylistDetails() {
    using namespace PLA;
    TableDef t{QStringLiteral("PlaylistDetails"), QStringLiteral("PLA"), QStringLiteral("srkpldet"), 2, {}, 0, {}};
    t.fields = {num("PlaylistID", FieldKind::Int32), num("PlaylistSeq", FieldKind::Dec6, "@n_5"),
                num("ID", FieldKind::Dec6), text("PlaylistNotes", 40), text("LastWeek", 3), text("ThisWeek", 3),
                text("HighestChartPosition", 3)};
    t.keys = {key("KeyPlaylistID", {PlaylistID, PlaylistSeq}, Unique, true),
              key("KeyID", {PLA::ID}, Dups, false, true)};
    return t;
}

}  // namespace

const TableDef& songsTable() {
    static const TableDef t = makeSongs("Sonorika", "SON");
    return t;
}
const TableDef& aSongsTable() {
    static const TableDef t = [] {
        TableDef songs = makeSongs("A_Songs", "A_S");
        songs.fileOwnerLabel = QStringLiteral("Sonorika");
        songs.fileOwnerPrefix = QStringLiteral("SON");
        return songs;
    }();
    return t;
}
const TableDef& albumTable() {
    static const TableDef t = makeAlbum();
    return t;
}
const TableDef& categoriesTable() {
    static const TableDef t = makeCategories();
    return t;
}
const TableDef& mediaTable() {
    static const TableDef t = makeMedia();
    return t;
}
const TableDef& labelsTable() {
    static const TableDef t = makeLabels();
    return t;
}
const TableDef& fontsTable() {
    static const TableDef t = makeFonts();
    return t;
}
const TableDef& addWizardTable() {
    static const TableDef t = makeAddWizard();
    return t;
}
const TableDef& playlistMasterTable() {
    static const TableDef t = makePlaylistMaster();
    return t;
}
const TableDef& playlistDetailsTable() {
    static const TableDef t = makePlaylistDetails();
    return t;
}

QVector<const TableDef*> catalogTables() {
    return {&songsTable(),     &albumTable(),     &categoriesTable(),     &mediaTable(),          &labelsTable(),
            &fontsTable(),     &addWizardTable(), &playlistMasterTable(), &playlistDetailsTable()};
}

const TableDef* tableByLabel(const QString& labelOrPrefix) {
    if (labelOrPrefix.compare(QLatin1String("A_Songs"), Qt::CaseInsensitive) == 0 ||
        labelOrPrefix.compare(QLatin1String("A_S"), Qt::CaseInsensitive) == 0)
        return &aSongsTable();
    for (const TableDef* t : catalogTables())
        if (t->label.compare(labelOrPrefix, Qt::CaseInsensitive) == 0 ||
            t->prefix.compare(labelOrPrefix, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}

QStringList defaultMedia() {
    return {QStringLiteral("CD"),
            QStringLiteral("LP"),
            QStringLiteral("EP"),
            QStringLiteral("7\" Single"),
            QStringLiteral("CD Single"),
            QStringLiteral("Cassette (Dolby B)"),
            QStringLiteral("Cassette (Dolby C)"),
            QStringLiteral("Cassette (Dolby S)"),
            QStringLiteral("Cassette (DBX)"),
            QStringLiteral("Cassette (HX Pro)"),
            QStringLiteral("Cassette (Prerecorded)"),
            QStringLiteral("Other")};
}

}  // namespace srk
