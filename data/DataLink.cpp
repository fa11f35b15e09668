#include "DataLink.h"

#include "CodePage.h"
#include "TextLines.h"

#include <cctype>
#include <stdexcept>
#include <strings.h>

namespace {

const char* const Malformed = "The initialization string is not a list of Key=Value pairs";

std::string Trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

TInitProperties ParseInitString(std::string_view text)
{
    TInitProperties props;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        // The key, up to a single "="; "==" stands for "=" inside it.
        std::string key;
        bool hasValue = false;
        for (; i < n; ++i) {
            if (text[i] == '=') {
                if (i + 1 < n && text[i + 1] == '=') {
                    key += '=';
                    ++i;
                    continue;
                }
                hasValue = true;
                ++i;
                break;
            }
            if (text[i] == ';')
                break;
            key += text[i];
        }
        key = Trim(key);
        if (!hasValue) {
            if (!key.empty())
                throw std::runtime_error(Malformed);
            ++i;  // an empty segment between ";" separators
            continue;
        }
        if (key.empty())
            throw std::runtime_error(Malformed);

        while (i < n && IsBlank(text[i]))
            ++i;
        std::string value;
        if (i < n && (text[i] == '"' || text[i] == '\'')) {
            const char quote = text[i++];
            bool closed = false;
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                value += text[i++];
            }
            while (i < n && IsBlank(text[i]))
                ++i;
            if (!closed || (i < n && text[i] != ';'))
                throw std::runtime_error(Malformed);
        } else {
            size_t end = text.find(';', i);
            if (end == std::string_view::npos)
                end = n;
            value = Trim(text.substr(i, end - i));
            i = end;
        }
        ++i;  // past the ";"
        if (strcasecmp(key.c_str(), "Provider") == 0 && props.Has(key))
            continue;  // the first Provider wins
        props.Set(key, value);
    }
    return props;
}

namespace {

std::string DecodeDataLinkText(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string utf16;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            utf16 += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
        return CodePage::FromUtf16(utf16);
    }
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return CodePage::FromUtf8(std::string_view(bytes).substr(3));
    return bytes;  // 8-bit text in the program code page
}

std::string FolderOf(const std::string& fileName)
{
    size_t slash = fileName.find_last_of('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

} // namespace

TInitProperties ReadDataLinkFile(const std::string& fileName)
{
    std::string bytes;
    try {
        bytes = ReadFileBytes(fileName);
    } catch (const std::exception& e) {
        throw std::runtime_error("Cannot read data link file \"" + fileName + "\": " + e.what());
    }
    std::string initString;
    bool found = false;
    for (const std::string& line : SplitLines(DecodeDataLinkText(bytes), TNulHandling::Keep)) {
        std::string text = Trim(line);
        if (text.empty() || text[0] == ';' || text[0] == '[')
            continue;
        initString = text;
        found = true;
        break;
    }
    if (!found)
        throw std::runtime_error("Data link file \"" + fileName + "\" holds no initialisation string");
    try {
        TInitProperties props = ParseInitString(initString);
        props.FileDir = FolderOf(fileName);
        return props;
    } catch (const std::exception& e) {
        throw std::runtime_error("Data link file \"" + fileName + "\": " + e.what());
    }
}
