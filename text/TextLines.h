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

// Hands each line of the text, cut by the rule above, to visit(line) in
// order, without copying it; stops early when visit returns false.
template <class TVisit>
void ForEachLine(std::string_view text, TNulHandling nul, TVisit&& visit)
{
    if (nul == TNulHandling::EndsText)
        text = text.substr(0, text.find('\0'));
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        if (!visit(text.substr(start, i - start)))
            return;
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        visit(text.substr(start));
}

// Cuts the text into lines by the rule above.
TStringList SplitLines(std::string_view text, TNulHandling nul = TNulHandling::EndsText);

constexpr size_t kNoSizeLimit = static_cast<size_t>(-1);

// Reads a whole regular file as bytes; anything else (a folder, a device, a
// pipe) is refused, and so is a file larger than maxBytes. Throws
// std::runtime_error naming the file.
std::string ReadFileBytes(const std::string& fileName, size_t maxBytes = kNoSizeLimit);

// Writes bytes to a file whole: a temporary file beside it is written and then
// renamed over it, so a failure never leaves a truncated file or destroys the
// previous one. Throws std::runtime_error naming the file.
void WriteFileBytes(const std::string& fileName, std::string_view bytes);

// Writes every line followed by CR LF (the last one too), as WriteFileBytes.
void WriteLinesToFile(const std::string& fileName, const TStringList& lines);
