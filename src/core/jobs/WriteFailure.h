#pragma once

#include "store/ErrorCode.h"

#include <QString>

namespace srk {

// Why a batch run could not write, in words a user can act on: the file first, then the real cause
// (another program holding the lock, a read-only file or folder) with the engine's own text.
// fallbackFile names the file when the error does not (a frame spans every open file).
QString writeFailureText(const StoreError& error, const QString& folder, const QString& fallbackFile = QString());

}  // namespace srk
