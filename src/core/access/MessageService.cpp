#include "access/MessageService.h"

namespace srk {

MessageService::~MessageService() = default;

} // namespace srk
