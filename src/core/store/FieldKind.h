#pragma once

namespace srk {

// Storage kinds of table fields. Everything but Text and Memo is a whole number.
enum class FieldKind {
    Text,  // fixed width, blank padded; stored without trailing blanks
    Int32,
    UInt8,
    Dec6,  // 11 digits and sign
    Dec2,  // 3 digits and sign
    Date,  // day number, 0 = none
    Time,  // hundredths of a second + 1, 0 = none
    Memo,  // variable text up to the width
};

inline bool isTextKind(FieldKind kind) { return kind == FieldKind::Text || kind == FieldKind::Memo; }

}  // namespace srk
