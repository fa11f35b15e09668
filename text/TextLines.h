#pragma once
// The one rule for cutting 8-bit text into lines, and whole-file line I/O.
// A line ends at CR, at LF or at the pair CR LF; a line break at the very end
// of the text adds no empty line.

#include <string>
#include <string_view>
#include <vector>

using TStringList = std::vector<std::string>;

enum class TNulHandling {
    EndsText,  // the text ends at its first NUL character
    Keep,      // NUL is an ordinary character
};

// Cuts the text into lines by the rule above.
TStringList SplitLines(std::string_view text, TNulHandling nul = TNulHandling::EndsText);

// Reads a whole file as bytes. Throws std::runtime_error naming the file.
std::string ReadFileBytes(const std::string& fileName);

// Writes bytes to a file whole: a temporary file beside it is written and then
// renamed over it, so a failure never leaves a truncated file or destroys the
// previous one. Throws std::runtime_error naming the file.
void WriteFileBytes(const std::string& fileName, std::string_view bytes);

// Writes every line followed by CR LF (the last one too), as WriteFileBytes.
void WriteLinesToFile(const std::string& fileName, const TStringList& lines);
