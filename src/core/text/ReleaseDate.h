#pragma once

// Release dates (SON:ReleaseDate, ALB:ReleaseDate) hold a day number or, below 3000, a bare year
// (see isBareYear()). Everything that shows, prints or reads one goes through here, so that 1988
// is 1988 whatever date picture the window or the preferences chose, and never "8 Jun 1806".

#include "text/Picture.h"

#include <QString>
#include <QVariant>

#include <optional>

namespace srk {

// The number picture of the "Year Only" preference.
QString yearPicture();

// A bare year shows as the year whatever the picture. Under a number picture (the "Year Only"
// preference) a day number shows as its year. Otherwise the value goes through the picture.
QString formatReleaseDate(const QVariant& value, const Picture& picture);
QString formatReleaseDate(const QVariant& value, const QString& picture);

// A typed release date: blank is no date (0); up to four digits standing for a number below 3000
// are that bare year, whatever the picture; other text is read through the date picture. Under a
// number picture only a year reads. A date too early to be told from a year (before March 1809)
// gives its year. Nothing when the text is neither a year nor a possible date.
std::optional<qint64> readReleaseDate(const QString& text, const QString& picture);

} // namespace srk
