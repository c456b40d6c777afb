#pragma once

namespace srk {

// What a form's record tool bar asks of the browse that called it.
enum class FormMove { None, NextRecord, PreviousRecord, NextPage, PreviousPage, First, Last, Insert };

}  // namespace srk
