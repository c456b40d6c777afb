#include "render/ReportFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

namespace srk {

namespace {

QStringList candidatesFor(const QString& face) {
    const QString f = face.trimmed().toLower();
    if (f == QLatin1String("arial") || f == QLatin1String("ms sans serif") || f == QLatin1String("helvetica"))
        return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")};
    if (f == QLatin1String("small fonts"))
        return {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    if (f == QLatin1String("times new roman") || f == QLatin1String("ms serif"))
        return {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"), QStringLiteral("DejaVu Serif")};
    if (f == QLatin1String("courier new") || f == QLatin1String("courier"))
        return {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"), QStringLiteral("DejaVu Sans Mono")};
    return {};
}

}  // namespace

QString installedFace(const QString& layoutFace) {
    static QHash<QString, QString> cache;
    const auto it = cache.constFind(layoutFace);
    if (it != cache.constEnd())
        return *it;
    QString chosen = layoutFace.trimmed();
    const QStringList families = QFontDatabase::families();
    if (!families.contains(chosen, Qt::CaseInsensitive)) {
        for (const QString& candidate : candidatesFor(layoutFace))
            if (families.contains(candidate, Qt::CaseInsensitive)) {
                chosen = candidate;
                break;
            }
    }
    if (chosen.isEmpty())
        chosen = QStringLiteral("Liberation Sans");
    cache.insert(layoutFace, chosen);
    return chosen;
}

void installReportFontSubstitutions() {
    for (const char* face : {"Arial", "MS Sans Serif", "Small Fonts", "Times New Roman", "Courier New"}) {
        const QString name = QString::fromLatin1(face);
        if (QFont::substitutes(name).isEmpty())
            QFont::insertSubstitutions(name, candidatesFor(name));
    }
}

}  // namespace srk
