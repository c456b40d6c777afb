#include "ui/services/FormMove.h"

#include "store/ErrorCode.h"
#include "ui/services/PageModel.h"

namespace srk {

int moveForForm(PageModel& list, FormMove move) {
    switch (move) {
    case FormMove::NextRecord:
        return list.lineDown();
    case FormMove::PreviousRecord:
        return list.lineUp();
    case FormMove::NextPage:
        return list.pageDown();
    case FormMove::PreviousPage:
        return list.pageUp();
    case FormMove::First:
        return list.top();
    case FormMove::Last:
        return list.bottom();
    case FormMove::Insert:
    case FormMove::None:
        break;
    }
    return NoError;
}

} // namespace srk
