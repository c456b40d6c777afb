#include "exchange/ImportValue.h"

#include "exchange/ExchangeFields.h"
#include "text/Picture.h"

#include <QStringView>

#include <cmath>

namespace srk {

double leadingNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    bool digits = false;
    qint64 whole = 0;
    int wholeDigits = 0;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        if (wholeDigits < 18)
            whole = whole * 10 + (text[i].unicode() - '0');
        ++wholeDigits;
        ++i, digits = true;
    }
    const bool fraction = i < n && text[i] == QLatin1Char('.');
    // Whole numbers of up to 18 digits (nearly every number a file holds) are exact without the parser.
    if (!fraction && digits && wholeDigits <= 18)
        return negative ? -double(whole) : double(whole);
    if (fraction) {
        ++i;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i, digits = true;
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

QString throughPicture(const QString& text, const QString& picture) {
    if (isTextPicture(picture) || isNumberPicture(picture))
        return text;
    return deformat(text, picture).toString();
}

}  // namespace srk
