#pragma once

#include <QString>
#include <QStringView>

namespace srk {

// The numeric value of a text: its leading number (sign, digits, decimals), 0 when it has none.
double leadingNumber(QStringView text);

// The picture step: a column whose picture is neither text nor number is read through it (a date into
// its day number, a time into its time value); other columns keep their text.
QString throughPicture(const QString& text, const QString& picture);

}  // namespace srk
