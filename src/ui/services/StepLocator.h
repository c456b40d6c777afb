#pragma once

#include <QString>

#include <optional>

class QKeyEvent;

namespace srk {

class PageModel;

// The letter locator of the small lists: a letter the highlighted row's field begins with moves the
// highlight one row down; when the row then highlighted does not begin with it, the list is rebuilt
// at the first record whose field is at or after the letter (later key fields from their lowest).
// Typing the same letter again and again so walks through its entries and starts over.
void stepLocate(PageModel& model, int field, const QString& letter);

// The character a key press gives the locator: one printable, non-blank character typed without Ctrl
// or Alt; nothing for any other key.
std::optional<QString> locatorLetter(const QKeyEvent* key);

} // namespace srk
