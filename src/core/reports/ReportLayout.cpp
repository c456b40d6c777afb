#include "reports/ReportLayout.h"

#include "text/Picture.h"

#include <algorithm>

namespace srk {

bool LayoutItem::isDate() const { return kind == Field && parsePicture(picture).kind == PictureKind::Date; }

int ReportLayout::detailRoom() const {
    const int room = pageHeight - marginTop - marginBottom - header.height - footer.height;
    return std::max(room, detail.height);
}

void ReportLayout::applyDatePreference(const QString& preference) {
    const QString pref = preference.trimmed();
    if (pref.isEmpty())
        return;
    for (LayoutBand* band : {&header, &detail, &footer, &summary})
        for (LayoutItem& item : band->items)
            if (item.isDate() && item.text != QLatin1String("=RunDate"))
                item.picture = pref.startsWith(QLatin1Char('@')) ? pref : QLatin1Char('@') + pref;
}

void ReportLayout::applyFont(const PageFont& font) {
    for (LayoutBand* band : {&header, &detail, &footer, &summary})
        for (LayoutItem& item : band->items)
            item.font = font;
}

QVector<QString> ReportLayout::detailSources() const {
    QVector<QString> sources;
    for (const LayoutItem& item : detail.items)
        if (item.kind == LayoutItem::Field && !item.text.startsWith(QLatin1Char('=')))
            sources.append(item.text);
    return sources;
}

}  // namespace srk
