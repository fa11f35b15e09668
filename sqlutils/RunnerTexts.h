#pragma once
// Texts the query runner shows and the rule for one line of a script.

#include <cstdint>
#include <string>
#include <string_view>

// A file size in the pattern "# ### ### ##0 bytes": ten digit places in groups
// of one and three, every blank of the pattern written, also left of the first
// digit ("   999 bytes", "  1 001 bytes"). Longer numbers grow to the left.
std::string FileSizeText(uint64_t size);

// "Execute time - 0.25 sec.": seconds with exactly two decimals and the given
// decimal separator.
std::string ExecuteTimeText(double seconds, char decimalSeparator);

// The statement a script line sends: the trimmed line without one final ";".
// Empty for a blank line, which sends nothing.
std::string ScriptLineStatement(std::string_view line);
