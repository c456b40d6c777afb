#include "exchange/ImportLine.h"

#include "catalog/Tables.h"
#include "exchange/CategoryMapper.h"
#include "exchange/CsvLine.h"
#include "exchange/ExchangeFields.h"
#include "store/ErrorCode.h"

#include <cmath>

namespace srk {

namespace {

// A number target's value from its number, rounded as the text of it would be.
qint64 targetNumber(double value, const Record& song, int field) {
    const double limited = qBound(-9.2e18, value, 9.2e18);
    qint64 number = qint64(std::llround(limited));
    // A song of no length is written as midnight (the time pictures show both alike): a length of zero
    // reads back as no length.
    if (number == 1 && song.def()->fields[field].kind == FieldKind::Time)
        number = 0;
    return number;
}

}  // namespace

bool lineHasFields(QStringView line) {
    for (const QChar c : line)
        if (c != QLatin1Char(' '))
            return true;
    return false;
}

ImportLineAssigner::ImportLineAssigner(const ImportPlan& plan) {
    for (int column = 0; column < plan.targets.size(); ++column) {
        Column c;
        const QString picture = plan.pictures.value(column);
        c.throughPicture = !isTextPicture(picture) && !isNumberPicture(picture);
        if (c.throughPicture)
            c.picture = parsePicture(picture);
        c.targets = plan.targets[column];
        m_columns.push_back(c);
    }
}

int ImportLineAssigner::assign(QStringView line, CategoryMapper& categories, Record& song) {
    QStringList texts;
    fill(line, song, texts);
    return setCategory(texts, categories, song);
}

int ImportLineAssigner::setCategory(const QStringList& categories, CategoryMapper& mapper, Record& song) {
    for (const QString& text : categories) {
        qint64 id = 0;
        if (const int rc = mapper.categoryId(text, id); rc != NoError)
            return rc;
        song.setNumber(SON::CategoryID, id);
    }
    return NoError;
}

void ImportLineAssigner::fill(QStringView line, Record& song, QStringList& categories) {
    categories.clear();
    const QVector<ImportTarget>& targets = importTargets();
    CsvLineSplitter splitter(line);
    QStringView field;
    for (const Column& column : std::as_const(m_columns)) {
        if (splitter.next(field, m_scratch) == CsvFieldKind::None)
            break;
        if (column.targets.isEmpty())
            continue;
        // The picture step; a whole number from it serves number targets without a detour through text.
        QString text;
        bool isWhole = false;
        qint64 whole = 0;
        if (column.throughPicture) {
            const QVariant value = deformat(field.toString(), column.picture);
            isWhole = value.typeId() == QMetaType::LongLong;
            whole = isWhole ? value.toLongLong() : 0;
            text = value.toString();
        } else {
            text = field.toString();
        }
        for (int t : column.targets) {
            const ImportTarget& target = targets[t];
            switch (target.storage) {
            case TargetStorage::Text:
                song.setText(target.field, text);
                break;
            case TargetStorage::Number:
                song.setNumber(target.field,
                               targetNumber(isWhole ? double(whole) : leadingNumber(text), song, target.field));
                break;
            case TargetStorage::Category:
                categories << text;
                break;
            }
        }
    }
    const QString media = song.text(SON::Media);
    if (media.size() == 1) {
        if (media == QLatin1String("D"))
            song.setText(SON::Media, QStringLiteral("Cassette (DBX)"));
        else if (media == QLatin1String("C"))
            song.setText(SON::Media, QStringLiteral("Cassette (Dolby-C)"));
        else if (media == QLatin1String("B"))
            song.setText(SON::Media, QStringLiteral("Cassette (Dolby-B)"));
    }
}

int assignImportLine(const QString& line, const ImportPlan& plan, CategoryMapper& categories, Record& song) {
    return ImportLineAssigner(plan).assign(line, categories, song);
}

}  // namespace srk
