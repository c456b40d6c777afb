#include "songs/SongQueryFields.h"

namespace srk {

namespace {

struct Entry {
    const char* caption;
    const char* field;
    const char* picture;
    int size;
    int kind;  // 1 text, 2 number
    int style; // 1 typed, 3 choice list
    const char* choices;
};

// In the order the wizard lists them; the memo fields are bound under these names by the browser.
constexpr Entry kEntries[] = {
    {"Category", "CAT:Category", "@s30", 30, 1, 1, ""},
    {"Media", "MED:Media", "@s20", 20, 1, 1, ""},
    {"Artist", "SON:Artist", "@s40", 40, 1, 1, ""},
    {"Title", "SON:Title", "@s40", 40, 1, 1, ""},
    {"Album", "SON:Album", "@s40", 40, 1, 1, ""},
    {"Media", "SON:Media", "@s20", 20, 1, 1, ""},
    {"File Number", "SON:FileNumber", "@s20", 20, 1, 1, ""},
    {"Release", "SON:ReleaseDate", "@d2", 4, 2, 1, ""},
    {"Category (Unique ID)", "SON:CategoryID", "@n-13", 4, 2, 1, ""},
    {"Chart", "SON:ChartNumber", "@n3", 1, 2, 1, ""},
    {"Track", "SON:TrackNumber", "@n3", 1, 2, 1, ""},
    {"Side / Disc", "SON:Side", "@s1", 1, 1, 3, " (N/A)|A|B|1|2"},
    {"Time", "SON:Time", "@t4", 4, 2, 1, ""},
    {"User Defined Key Field", "SON:UserDefinedKeyField", "@s30", 30, 1, 1, ""},
    {"Addition Information (1)", "SON:AdditionalInformation1", "@s80", 80, 1, 1, ""},
    {"Addition Information (2)", "SON:AdditionalInformation2", "@s80", 80, 1, 1, ""},
    {"Addition Information (3)", "SON:AdditionalInformation3", "@s80", 80, 1, 1, ""},
    {"Beats Per Minute (BPM)", "SON:BeatsPerMinute", "@n_4b", 4, 2, 1, ""},
    {"Style", "SON:Style", "@s30", 30, 1, 1, ""},
    {"Recording Information", "SON:Recording", "@s255", 256, 1, 1, ""},
    {"Composer", "SON:Composer", "@s80", 80, 1, 1, ""},
    {"Performance Notes", "SON:PerformanceNotes", "@s255", 256, 1, 1, ""},
    {"Date Last Played", "SON:LastPlayed", "@d17-", 4, 2, 1, ""},
    {"Notes", "SON:Notes", "@s255", 2000, 1, 1, ""},
};

} // namespace

namespace {

QString fieldText(bool withMediaTable) {
    QStringList entries;
    for (const Entry& e : kEntries) {
        if (!withMediaTable && &e == &kEntries[1])
            continue;
        const QStringList parts{QString::fromUtf8(e.caption), QStringLiteral("0"),
                                QString::fromUtf8(e.field),   QString::fromUtf8(e.picture),
                                QString::number(e.size),      QString::number(e.kind),
                                QString::number(e.style),     QString::fromUtf8(e.choices)};
        entries << parts.join(QChar(QueryFieldList::PartSeparator));
    }
    return entries.join(QChar(QueryFieldList::EntrySeparator));
}

} // namespace

QString songQueryFieldText() { return fieldText(true); }

QueryFieldList djLogQueryFields() { return QueryFieldList::parse(fieldText(false)); }

QueryFieldList songQueryFields() {
    return QueryFieldList::parse(songQueryFieldText());
}

} // namespace srk
