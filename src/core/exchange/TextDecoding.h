#pragma once

// Text files as people have them: UTF-8 (with or without a byte-order mark), or Windows-1252 as older
// catalogue programs wrote them.

#include <QByteArray>
#include <QString>

namespace srk {

enum class TextEncoding { Utf8, Windows1252 };

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing past U+10FFFF.
// A sequence cut off at the end counts as well-formed when `partialEnd` is set (a buffer may end mid-letter).
bool isValidUtf8(const char* data, qsizetype size, bool partialEnd = false);

QString decodeWindows1252(const char* data, qsizetype size);
QString decodeText(const char* data, qsizetype size, TextEncoding encoding);

// Letters (code points) the bytes stand for in the encoding.
qsizetype characterCount(const char* data, qsizetype size, TextEncoding encoding);

}  // namespace srk
