#pragma once
// Lookup in a list of "Name=Value" lines (a task file).

#include <string>
#include <string_view>

#include "TextLines.h"

// The value of the first line whose name, the part before its first "=",
// equals the name without regard to letter case: everything after that "=",
// untrimmed. Names are not trimmed either (" UDL" is another name). Lines
// without "=" are skipped; the empty text when no line has the name.
std::string ValueOfName(const TStringList& lines, std::string_view name);
