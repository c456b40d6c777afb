#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace srk {

// A form's "&Ok" (the default button) and "Cancel" (never default; it rejects the dialog). The caller
// connects Ok to what the form does.
struct OkCancelButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};
OkCancelButtons makeOkCancelButtons(QDialog* dialog);

// The two buttons at the right end of a row of their own.
QHBoxLayout* okCancelRow(const OkCancelButtons& buttons);

}  // namespace srk
