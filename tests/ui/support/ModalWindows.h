#pragma once

#include <QString>

#include <functional>

class QFileDialog;
class QPushButton;
class QWidget;

namespace srk::testing {

// Runs `action` on the next modal window that comes up (not the one already up when called).
// Whatever the action leaves open is closed after a while so that a failing test cannot hang in a
// modal loop; both show as test failures.
void onModal(std::function<void(QWidget*)> action);

// Call from TearDown: reports waits whose window never came up and forgets them.
void finishModalWaits();

// Picks `path` in a file dialog and accepts it. QFileDialog::selectFile leaves the name box alone
// while it has focus, which it may already have when the dialog is handled.
void acceptFile(QFileDialog* dialog, const QString& path);

// The push button of a window showing exactly this text (nullptr when none).
QPushButton* buttonWithText(QWidget* window, const QString& text);

} // namespace srk::testing
