#pragma once

// The user's preferred date picture ("d2", "n4b", ...: a picture without its
// "@") replaces the date pictures of list formats and date entry fields when
// a window opens.

#include <QList>
#include <QString>

namespace srk {

// Every "@D" (any case) in formatText has the characters after its "@", up to
// but not including the next "@" (or to the end), replaced by the trimmed
// preference. A blank preference leaves the text as it is.
// "12L|~Released~@d17b@" under "d2" becomes "12L|~Released~@d2@".
QString applyPreferredDatePicture(const QString& formatText, const QString& preference);

// The same for a list's format, knowing which of its columns (0-based) hold release dates. A date
// preference goes to every date column as above. The "Year Only" preference ("n4b", or any other
// that is not a date picture) goes to the release-date columns only: other dates, such as the day a
// song was last played, are real days and keep their own pictures. A format that cannot be read is
// treated as text, as above.
QString applyPreferredDatePicture(const QString& formatText, const QString& preference,
                                  const QList<int>& releaseDateColumns);

// True when the preference names a date picture ("d2"), false for "Year Only" and for blank.
bool isDatePreference(const QString& preference);

} // namespace srk
