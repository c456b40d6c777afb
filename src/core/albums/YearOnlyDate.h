#pragma once

#include <QtGlobal>

namespace srk {

// A release date under the "Year Only" format: a day number becomes its year; no date, a bare year
// and a number that is no date stay as they are, so converting twice changes nothing.
qint64 yearOnlyDate(qint64 releaseDate);

}  // namespace srk
