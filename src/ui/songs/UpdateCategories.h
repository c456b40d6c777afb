#pragma once

#include "ui/songs/LookupForm.h"

namespace srk {

// The category form: insert (the number is primed first), change and delete of one category.
class UpdateCategories {
public:
    static const QString Procedure;

    static LookupForm::Design design();
    static WindowResponse run(ProgramContext& context, WindowRequest request, Record& record, QWidget* parent,
                              FormMove* move = nullptr);
};

}  // namespace srk
