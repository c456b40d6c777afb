#pragma once

namespace srk {

class PageModel;

// What a form's record tool bar asks of the browse that called it.
enum class FormMove { None, NextRecord, PreviousRecord, NextPage, PreviousPage, First, Last, Insert };

// Moves the browse's list the way its own keys would for a move asked by the form; Insert and None
// leave it where it is. Returns the result of the read.
int moveForForm(PageModel& list, FormMove move);

} // namespace srk
