#pragma once

// The user's preferred date picture ("d2", "n4b", ...: a picture without its
// "@") replaces the date pictures of list formats and date entry fields when
// a window opens.

#include <QString>

namespace srk {

// Every "@D" (any case) in formatText has the characters after its "@", up to
// but not including the next "@" (or to the end), replaced by the trimmed
// preference. A blank preference leaves the text as it is.
// "12L|~Released~@d17b@" under "d2" becomes "12L|~Released~@d2@".
QString applyPreferredDatePicture(const QString& formatText, const QString& preference);

} // namespace srk
