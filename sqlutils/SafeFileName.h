#pragma once
// Turning a name taken from SQL text (a table name) into one part of a file
// name that stays in the folder it is written to.

#include <string>
#include <string_view>

// The name with every path separator, control character and character that
// Windows refuses in file names (<>:"/\|?*) replaced by '_'; "_" for an
// empty name. Every other byte, national letters included, stays.
std::string SafeFileName(std::string_view name);
