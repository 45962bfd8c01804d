#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora {

// Fills the "%s" placeholders of a statement in order; a value is put in as it
// stands and never read for placeholders itself.
std::string FillSql(std::string_view format, std::initializer_list<std::string_view> values);

// key between apostrophes, with every apostrophe inside it doubled.
std::string QuoteSqlText(std::string_view key);

}  // namespace velmora
