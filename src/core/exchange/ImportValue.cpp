#include "exchange/ImportValue.h"

#include "exchange/ExchangeFields.h"
#include "text/Picture.h"

#include <QStringView>

#include <cmath>

namespace srk {

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    bool digits = false;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i, digits = true;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i, digits = true;
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double value = QStringView(text).mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

QString throughPicture(const QString& text, const QString& picture) {
    if (isTextPicture(picture) || isNumberPicture(picture))
        return text;
    return deformat(text, picture).toString();
}

}  // namespace srk
