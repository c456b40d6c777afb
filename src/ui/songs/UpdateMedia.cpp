#include "ui/songs/UpdateMedia.h"

#include "catalog/Tables.h"

namespace srk {

const QString UpdateMedia::Procedure = QStringLiteral("UpdateMedia");

LookupForm::Design UpdateMedia::design() {
    LookupForm::Design d;
    d.procedure = Procedure;
    d.insertTitle = QStringLiteral("Adding Media Format");
    d.changeTitle = QStringLiteral("Changing Media Format");
    d.prompt = QStringLiteral("&Media:");
    d.table = &mediaTable();
    d.field = MED::Media;
    d.picture = QStringLiteral("@s20");
    d.primes = false;
    return d;
}

WindowResponse UpdateMedia::run(ProgramContext& context, WindowRequest request, Record& record, QWidget* parent,
                                FormMove* move) {
    return LookupForm::run(context, design(), request, record, parent, move);
}

}  // namespace srk
