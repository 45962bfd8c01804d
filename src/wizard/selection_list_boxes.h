#pragma once

#include <string>
#include <vector>

#include "platform/ui/check_list_box.h"

namespace velmora {

// The checked items' keys of a list box in list order, as the count query puts
// them after IN: 'K1','K2', or 'no data' when nothing is checked. Read at the
// moment of each count run, so it counts what the boxes show then.
std::string CheckedKeyList(const CheckListBox& list);

// The checked items' keys of a list box in list order.
std::vector<std::string> CheckedKeys(const CheckListBox& list);

}  // namespace velmora
