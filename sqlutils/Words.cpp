#include "Words.h"

#include <algorithm>

TCharSet::TCharSet(std::string_view members)
{
    for (char c : members)
        Add(c);
}

bool IsBlankChar(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string Trim(std::string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlankChar(text[begin]))
        ++begin;
    while (end > begin && IsBlankChar(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

int WordStart(int n, std::string_view text, const TCharSet& delimiters)
{
    if (n <= 0)
        return 0;
    int count = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && delimiters.Contains(text[pos]))
            ++pos;
        if (pos == text.size())
            break;
        if (++count == n)
            return static_cast<int>(pos) + 1;
        while (pos < text.size() && !delimiters.Contains(text[pos]))
            ++pos;
    }
    return 0;
}

std::string NthWord(int n, std::string_view text, const TCharSet& delimiters)
{
    const int start = WordStart(n, text, delimiters);
    if (start == 0)
        return {};
    size_t end = start - 1;
    while (end < text.size() && !delimiters.Contains(text[end]))
        ++end;
    return std::string(text.substr(start - 1, end - (start - 1)));
}

void RemoveBlankLines(TStringList& lines)
{
    std::erase_if(lines, [](const std::string& line) {
        return std::all_of(line.begin(), line.end(), IsBlankChar);
    });
}
