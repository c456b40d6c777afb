#pragma once

#include "ui/songs/LookupForm.h"

namespace srk {

// The media form: insert, change (the new name goes to every song that held the old one) and delete
// of one medium. A medium has no number, so nothing is primed.
class UpdateMedia {
public:
    static const QString Procedure;

    static LookupForm::Design design();
    static WindowResponse run(ProgramContext& context, WindowRequest request, Record& record, QWidget* parent,
                              FormMove* move = nullptr);
};

}  // namespace srk
