// The editing keys shared by the browses and the lists on forms: what each key presses, on a list with
// rows and on an empty one, and where a plain Enter goes.

#include "ui/services/ListEditKeys.h"

#include <QKeyEvent>
#include <QVector>

#include <gtest/gtest.h>

#include <optional>

using namespace srk;

namespace {

enum { Add = 1, Change = 2, Delete = 3 };

struct Outcome {
    std::optional<bool> taken;
    QVector<int> pressed;
};

Outcome typeKey(ListEditKeys::PlainEnter enter, int key, Qt::KeyboardModifiers modifiers, bool empty) {
    const ListEditKeys keys{Add, Change, Delete, enter};
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    Outcome out;
    out.taken = keys.handle(&event, empty, [&out](int action) { out.pressed.append(action); });
    return out;
}

} // namespace

TEST(ListEditKeys, InsertDeleteAndCtrlEnterPressTheirButtonsInEveryList) {
    for (auto enter : {ListEditKeys::PlainEnter::Taken, ListEditKeys::PlainEnter::LeftToForm}) {
        Outcome o = typeKey(enter, Qt::Key_Insert, Qt::NoModifier, false);
        EXPECT_EQ(o.taken, std::optional<bool>(true));
        EXPECT_EQ(o.pressed, QVector<int>{Add});
        o = typeKey(enter, Qt::Key_Delete, Qt::NoModifier, false);
        EXPECT_EQ(o.pressed, QVector<int>{Delete});
        o = typeKey(enter, Qt::Key_Return, Qt::ControlModifier, false);
        EXPECT_EQ(o.taken, std::optional<bool>(true));
        EXPECT_EQ(o.pressed, QVector<int>{Change});
        o = typeKey(enter, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, false);
        EXPECT_EQ(o.pressed, QVector<int>{Change});
        // An empty list still adds, but has nothing to change or delete: the keys are taken all the same.
        o = typeKey(enter, Qt::Key_Insert, Qt::NoModifier, true);
        EXPECT_EQ(o.pressed, QVector<int>{Add});
        for (int key : {int(Qt::Key_Delete), int(Qt::Key_Return)}) {
            o = typeKey(enter, key, key == Qt::Key_Return ? Qt::ControlModifier : Qt::NoModifier, true);
            EXPECT_EQ(o.taken, std::optional<bool>(true)) << key;
            EXPECT_TRUE(o.pressed.isEmpty()) << key;
        }
        // Other keys are the list's own.
        o = typeKey(enter, Qt::Key_A, Qt::NoModifier, false);
        EXPECT_FALSE(o.taken.has_value());
        EXPECT_TRUE(o.pressed.isEmpty());
    }
}

TEST(ListEditKeys, APlainEnterIsTakenByABrowseAndLeftToTheFormByAFormsList) {
    Outcome browse = typeKey(ListEditKeys::PlainEnter::Taken, Qt::Key_Return, Qt::NoModifier, false);
    EXPECT_EQ(browse.taken, std::optional<bool>(true));
    EXPECT_TRUE(browse.pressed.isEmpty());
    Outcome form = typeKey(ListEditKeys::PlainEnter::LeftToForm, Qt::Key_Return, Qt::NoModifier, false);
    EXPECT_EQ(form.taken, std::optional<bool>(false));
    EXPECT_TRUE(form.pressed.isEmpty());
}
