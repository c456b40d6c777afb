#pragma once

// The bytes of a settings file as text. Files are written in UTF-8, but older ones, and lines typed
// into them by hand in a single-byte editor, are in the Windows code page: each line is read as UTF-8
// when it is valid UTF-8 and as Windows-1252 otherwise, so one stray byte costs one line, not the file.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace srk {

// Line breaks ("\n", with any "\r" before it) are kept as they stand.
QString decodeIniText(const QByteArray& bytes);

// One line (or any run of bytes) in Windows-1252; the five bytes that code page leaves undefined
// stand for the control characters of the same number.
QString fromWindows1252(QByteArrayView bytes);

} // namespace srk
