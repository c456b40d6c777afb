#pragma once

#include <functional>
#include <optional>

class QKeyEvent;

namespace srk {

// The keys that edit a list of records: Insert adds, Delete deletes the highlighted record and
// Ctrl+Enter changes it (neither on an empty list). A plain Enter is each list's own: a browse takes
// it (and does nothing), a list on a form leaves it to the form's default button.
struct ListEditKeys {
    enum class PlainEnter { Taken, LeftToForm };

    int addAction = -1;
    int changeAction = -1;
    int deleteAction = -1;
    PlainEnter plainEnter = PlainEnter::Taken;

    // Presses the action of an editing key through `press`: whether the key was taken, or nothing
    // when it is not one of these keys.
    std::optional<bool> handle(const QKeyEvent* key, bool empty, const std::function<void(int)>& press) const;
};

} // namespace srk
