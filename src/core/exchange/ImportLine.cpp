#include "exchange/ImportLine.h"

#include "catalog/Tables.h"
#include "exchange/CategoryMapper.h"
#include "exchange/CsvLine.h"
#include "store/ErrorCode.h"
#include "text/Picture.h"

#include <cmath>

namespace srk {

bool lineHasFields(const QString& line) { return CsvLineSplitter(line).next().kind != CsvFieldKind::None; }

int assignImportLine(const QString& line, const ImportPlan& plan, CategoryMapper& categories, Record& song) {
    const QVector<ImportTarget>& targets = importTargets();
    CsvLineSplitter splitter(line);
    for (int column = 0; column < plan.targets.size(); ++column) {
        const CsvField field = splitter.next();
        if (field.kind == CsvFieldKind::None)
            break;
        const QVector<int>& to = plan.targets[column];
        if (to.isEmpty())
            continue;
        const QString text = throughPicture(field.value, plan.pictures[column]);
        for (int t : to) {
            const ImportTarget& target = targets[t];
            switch (target.storage) {
            case TargetStorage::Text:
                song.setText(target.field, text);
                break;
            case TargetStorage::Number: {
                const double value = leadingNumber(text);
                const double limited = qBound(-9.2e18, value, 9.2e18);
                qint64 number = qint64(std::llround(limited));
                // A song of no length is written as midnight (the time pictures show both alike): a length
                // of zero reads back as no length.
                if (number == 1 && song.def()->fields[target.field].kind == FieldKind::Time)
                    number = 0;
                song.setNumber(target.field, number);
                break;
            }
            case TargetStorage::Category: {
                qint64 id = 0;
                if (const int rc = categories.categoryId(text, id); rc != NoError)
                    return rc;
                song.setNumber(target.field, id);
                break;
            }
            }
        }
    }
    const QString media = song.text(SON::Media);
    if (media == QLatin1String("D"))
        song.setText(SON::Media, QStringLiteral("Cassette (DBX)"));
    else if (media == QLatin1String("C"))
        song.setText(SON::Media, QStringLiteral("Cassette (Dolby-C)"));
    else if (media == QLatin1String("B"))
        song.setText(SON::Media, QStringLiteral("Cassette (Dolby-B)"));
    return NoError;
}

}  // namespace srk
