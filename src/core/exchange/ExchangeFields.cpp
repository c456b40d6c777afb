#include "exchange/ExchangeFields.h"

#include "catalog/Tables.h"
#include "text/Picture.h"

namespace srk {

namespace {

ImportTarget target(const char* name, int field, TargetStorage storage) {
    return {QString::fromLatin1(name), field, storage};
}

}  // namespace

const QVector<ImportTarget>& importTargets() {
    using S = TargetStorage;
    static const QVector<ImportTarget> targets = {
        target("SON:Artist", SON::Artist, S::Text),
        target("SON:Title", SON::Title, S::Text),
        target("SON:Album", SON::Album, S::Text),
        target("SON:Media", SON::Media, S::Text),
        target("SON:FileNumber", SON::FileNumber, S::Text),
        target("SON:ReleaseDate", SON::ReleaseDate, S::Number),
        target("SON:CategoryID", SON::CategoryID, S::Category),
        target("SON:ChartNumber", SON::ChartNumber, S::Number),
        target("SON:TrackNumber", SON::TrackNumber, S::Number),
        target("SON:Side", SON::Side, S::Text),
        target("SON:Time", SON::Time, S::Number),
        target("SON:UserDefinedKeyField", SON::UserDefinedKeyField, S::Text),
        target("SON:AdditionalInformation1", SON::AdditionalInformation1, S::Text),
        target("SON:AdditionalInformation2", SON::AdditionalInformation2, S::Text),
        target("SON:AdditionalInformation3", SON::AdditionalInformation3, S::Text),
        target("SON:BeatsPerMinute", SON::BeatsPerMinute, S::Number),
        target("SON:Style", SON::Style, S::Text),
        target("SON:Recording", SON::Recording, S::Text),
        target("SON:Composer", SON::Composer, S::Text),
        target("SON:PerformanceNotes", SON::PerformanceNotes, S::Text),
        target("SON:LastPlayed", SON::LastPlayed, S::Number),
        target("SON:Notes", SON::Notes, S::Text),
    };
    return targets;
}

int importTargetIndex(const QString& name) {
    const QVector<ImportTarget>& targets = importTargets();
    for (int i = 0; i < targets.size(); ++i)
        if (targets[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const QVector<ExportField>& exportFields() {
    static const QVector<ExportField> fields = [] {
        const char* const pictures[] = {"@s40", "@s40", "@s40",  "@s20", "@s20",  "@d2",   "@n-13", "@n3",
                                        "@n3",  "@s1",  "@t4",   "@s30", "@s80",  "@s80",  "@s80",  "@n_4b",
                                        "@s30", "@s255", "@s80", "@s255", "@d17-", "@s255"};
        QVector<ExportField> out;
        const QVector<ImportTarget>& targets = importTargets();
        for (int i = 0; i < targets.size(); ++i)
            out.push_back({targets[i].name, QString::fromLatin1(pictures[i])});
        out.push_back({categoryNameColumn(), QStringLiteral("@s30")});
        return out;
    }();
    return fields;
}

int exportFieldIndex(const QString& name) {
    const QVector<ExportField>& fields = exportFields();
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString categoryNameColumn() { return QStringLiteral("CAT:Category"); }

bool isTextPicture(const QString& picture) { return pictureType(picture) == QLatin1Char('S'); }
bool isNumberPicture(const QString& picture) { return pictureType(picture) == QLatin1Char('N'); }

QString importTypeText(const QString& picture) {
    if (isTextPicture(picture))
        return QStringLiteral("Alpha-num");
    if (isNumberPicture(picture))
        return QStringLiteral("Numeric");
    return picture;
}

QString exportTypeText(const QString& picture) {
    if (isTextPicture(picture))
        return QStringLiteral("Alpha-numeric");
    if (isNumberPicture(picture))
        return QStringLiteral("Numeric");
    return picture;
}

bool pictureEntryAccepted(const QString& entry, PictureRefusal* refusal) {
    // A blank entry is no answer (the caller keeps its picture); only text without "@" is refused.
    if (entry.isEmpty() || entry.startsWith(QLatin1Char('@')))
        return true;
    if (refusal)
        *refusal = {QStringLiteral("Invalid Picture!"), QStringLiteral("Pictures must begin with \"@\"")};
    return false;
}

}  // namespace srk
