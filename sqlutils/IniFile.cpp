#include "IniFile.h"

#include <charconv>
#include <climits>
#include <unistd.h>

#include "TextLines.h"
#include "Words.h"

namespace {

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string> ReadFileIfPresent(const std::string& fileName)
{
    if (::access(fileName.c_str(), F_OK) != 0)
        return std::nullopt;
    return ReadFileBytes(fileName, TIniFile::kMaxFileSize);
}

} // namespace

std::optional<std::string> TIniFile::ReadValue(std::string_view section, std::string_view key) const
{
    const auto bytes = ReadFileIfPresent(fileName_);
    if (!bytes)
        return std::nullopt;
    bool inSection = false;
    for (const auto& rawLine : SplitLines(*bytes)) {
        const std::string line = Trim(rawLine);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            inSection = close != std::string::npos
                        && SameText(Trim(std::string_view(line).substr(1, close - 1)), section);
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos
            && SameText(Trim(std::string_view(line).substr(0, equals)), key))
            return Trim(std::string_view(line).substr(equals + 1));
    }
    return std::nullopt;
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const auto value = ReadValue(section, key);
    if (!value)
        return defaultValue;
    return ParseIniInteger(*value).value_or(defaultValue);
}

std::optional<int> ParseIniInteger(std::string_view text)
{
    int base = 10;
    bool negative = false;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Parsed as a wider magnitude so that INT_MIN is accepted and a sign in
    // the digits (from_chars takes '-') is not.
    unsigned long long magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    const unsigned long long limit = negative ? 1ULL + INT_MAX : static_cast<unsigned long long>(INT_MAX);
    if (magnitude > limit)
        return std::nullopt;
    return negative ? static_cast<int>(-static_cast<long long>(magnitude)) : static_cast<int>(magnitude);
}
