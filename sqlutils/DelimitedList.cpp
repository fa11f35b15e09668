#include "DelimitedList.h"

#include "Words.h"

void TDelimitedList::Split(std::string_view text)
{
    clear();
    if (auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    if (text.empty())
        return;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(Delimiter, start);
        if (end == std::string_view::npos)
            end = text.size();
        push_back(Trim(text.substr(start, end - start)));
        start = end + 1;
    }
}

std::string TDelimitedList::Join(std::string_view quote, std::string_view separator) const
{
    if (size() == 1 && front().empty())
        return "\"\"";
    std::string joined;
    for (size_t i = 0; i < size(); ++i) {
        if (i > 0)
            joined += separator;
        joined += quote;
        joined += (*this)[i];
        joined += quote;
    }
    return joined;
}
