#include "Statements.h"

#include "Words.h"

#include <algorithm>
#include <stdexcept>

namespace {

std::string AsciiUpper(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

bool EndsValue(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

} // namespace

TStatementKind ClassifyStatement(std::string_view text)
{
    if (text.find(";\r\n") != std::string_view::npos)
        return skScript;

    size_t start = 0;
    while (start < text.size() && IsBlankChar(text[start]))
        ++start;
    const std::string_view rest = text.substr(start);
    // Only a space ends the first word: "SELECT\r\n*" is one word.
    const size_t space = rest.find(' ');
    if (space == std::string_view::npos)
        return skOther;
    const std::string word = AsciiUpper(rest.substr(0, space));

    if (word == "SELECT") return skSelect;
    if (word == "UPDATE") return skUpdate;
    if (word == "INSERT") return skInsert;
    if (word == "DELETE") return skDelete;
    if (word == "CREATE" || word == "ALTER" || word == "DROP") return skSchemaChange;
    if (word == "EXPORT") return skExport;
    return skOther;
}

std::string TableNameFromSql(std::string_view sql)
{
    std::string text = AsciiUpper(sql);
    const size_t from = text.find(" FROM ");
    if (from != std::string::npos)
        text.erase(0, from + 6);
    else
        text.erase(0, std::min<size_t>(5, text.size()));
    return NthWord(1, text, TCharSet(" \r\n"));
}

std::string KeywordValue(std::string_view text, std::string_view key)
{
    const std::string upperText = AsciiUpper(text);
    std::string pattern(1, ' ');
    pattern += AsciiUpper(key);
    pattern += ' ';
    const size_t found = upperText.find(pattern);
    if (found == std::string::npos)
        throw std::runtime_error("Keyword \"" + std::string(key) + "\" not found in command \""
                                 + std::string(text) + "\"");
    const size_t start = found + pattern.size();
    size_t end = start;
    while (end < text.size() && !EndsValue(text[end]))
        ++end;
    return std::string(text.substr(start, end - start));
}
