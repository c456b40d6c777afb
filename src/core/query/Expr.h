#pragma once

#include <QString>

#include <vector>

namespace srk {

// One node of a parsed filter expression. Nodes are values; children are held in order.
struct Expr {
    enum class Kind {
        Or,       // children: two or more conditions
        And,      // children: two or more conditions
        Not,      // children: one condition
        Compare,  // op; children: left, right
        Text,     // text (quotes removed, doubled quotes made single)
        Integer,  // integer
        Real,     // real
        Field,    // text = qualified field name ("SON:Artist")
        Bound,    // text = bound name ("BRW1::Sort3:Reset:MED:Media")
        Call,     // function; children: arguments
    };
    // "~=" is equality ignoring letter case: a ~= b means UPPER(a) = UPPER(b).
    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, FoldedEqual };
    enum class Function { Upper, Lower, Sub, InString, Abs };

    Kind kind = Kind::Integer;
    Op op = Op::Equal;
    Function function = Function::Upper;
    QString text;
    qint64 integer = 0;
    double real = 0;
    int position = 0;  // 1-based character position in the source text
    std::vector<Expr> children;

    bool isCondition() const {
        return kind == Kind::Or || kind == Kind::And || kind == Kind::Not || kind == Kind::Compare;
    }
    // UPPER(x) and LOWER(x) mark a comparison operand as compared without regard to case.
    bool isCaseFold() const {
        return kind == Kind::Call && (function == Function::Upper || function == Function::Lower);
    }
};

}  // namespace srk
