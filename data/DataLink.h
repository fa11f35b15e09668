#pragma once
// Data link (.udl) files and initialisation strings.

#include "ProviderApi.h"

#include <cstddef>
#include <string>
#include <string_view>

// Parses "Key=Value;..." by the initialisation-string rules: keys without
// regard to case, blanks around keys and values ignored, values optionally in
// single or double quotes (the quote doubled inside), "==" in a key for "=",
// the last occurrence of a key winning except for Provider, where the first
// wins. Throws on a malformed string.
TInitProperties ParseInitString(std::string_view text);

// A data link file holds one short line that matters: a larger one is refused.
constexpr size_t kMaxDataLinkFileSize = 1 << 20;

// Reads a data link file: UTF-16LE with a byte-order mark, UTF-8 or 8-bit
// text; a "[oledb]" line, ";" comment lines, then the initialisation string.
// FileDir is set to the file's folder. Errors name the file.
TInitProperties ReadDataLinkFile(const std::string& fileName);
