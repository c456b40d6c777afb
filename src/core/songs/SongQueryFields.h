#pragma once

#include "query/QueryFieldList.h"

#include <QString>

namespace srk {

// The fields the song browser offers its query wizard, as the constant text the wizard reads.
QString songQueryFieldText();
// The same list, read.
QueryFieldList songQueryFields();
// The DJ log's list: the song browser's without its second entry (the media table's name).
QueryFieldList djLogQueryFields();

} // namespace srk
