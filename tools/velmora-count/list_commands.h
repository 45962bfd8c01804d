#pragma once

#include "cli/command_errors.h"

namespace velmora::cli {

// groups (--db PATH | --connect TEXT): the database's taxon groups as the
// dialog lists them, one "KEY<TAB>NAME" line each, in their sort order.
int RunGroups(Arguments args);

// surveys (--db PATH | --connect TEXT): the surveys likewise, by name.
int RunSurveys(Arguments args);

}  // namespace velmora::cli
