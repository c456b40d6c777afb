#pragma once

// What a date or time typed into an entry field stands for, and what to tell the user when it stands
// for nothing: an impossible date ("31 Feb 2020") or a time that is no time ("abc") is refused, never
// dropped or cleared without a word. Release dates read through readReleaseDate() (ReleaseDate.h).

#include <QString>

#include <optional>

namespace srk {

// Blank is no time (0); otherwise the time value, or nothing when the text is not a time.
std::optional<qint64> readTimeEntry(const QString& text);

// The message for a refused entry, with an example in the field's own picture.
QString dateEntryTitle();
QString dateEntryText(const QString& typed, const QString& picture, bool yearAllowed);
QString timeEntryTitle();
QString timeEntryText(const QString& typed, const QString& picture);

} // namespace srk
