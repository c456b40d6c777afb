#pragma once

#include <QSize>
#include <QString>

class QLineEdit;
class QWidget;

namespace srk {

// The width a window's title needs in its title bar: the text in bold, with room for the window's
// icon and its buttons.
int titleBarWidth(const QWidget* window, const QString& title);

// Designed sizes are minimums: a window never gets smaller than its designed minimum, what its
// controls need (a form's tool bar whole, without an overflow button) and the width of its title, so
// it opens large enough for all of them. A window inside the workspace is sized through its own
// widget; the title is followed as it changes.
void fitWindow(QWidget* window, QSize designedMinimum = QSize());

// An entry at least wide enough for `characters` characters of its font (each as wide as an "x", as Qt
// measures entries) besides its frame and margins, so that a text of its field's width shows whole.
// Call before fitWindow().
void fitEntryToCharacters(QLineEdit* entry, int characters);

}  // namespace srk
