#pragma once

namespace srk {

// What a caller asks of a form or browse, and what it answers. Passed and returned, never global.
enum class WindowRequest { None = 0, Insert = 1, Change = 2, Delete = 3, Select = 4 };
enum class WindowResponse { Completed = 1, Cancelled = 2 };

}  // namespace srk
