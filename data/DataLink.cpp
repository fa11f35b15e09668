#include "DataLink.h"

#include "CodePage.h"
#include "TextLines.h"

#include <algorithm>
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

// Most of a data link's text is ASCII, so UTF-16 without a byte-order mark
// shows itself by its NULs: one in every unit, on the side of its byte order.
bool LooksLikeUtf16(std::string_view bytes, bool littleEndian)
{
    const size_t units = std::min<size_t>(bytes.size(), 1024) / 2;
    if (units < 2)
        return false;
    size_t asciiUnits = 0;
    for (size_t i = 0; i < units; ++i) {
        const char high = bytes[2 * i + (littleEndian ? 1 : 0)], low = bytes[2 * i + (littleEndian ? 0 : 1)];
        asciiUnits += high == '\0' && low != '\0';
    }
    return asciiUnits * 4 >= units * 3;
}

std::string FromUtf16(std::string_view bytes, bool littleEndian)
{
    std::u16string utf16;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned char first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
        utf16 += static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second);
    }
    return CodePage::FromUtf16(utf16);
}

std::string DecodeDataLinkText(const std::string& bytes)
{
    const std::string_view text = bytes;
    if (text.starts_with("\xFF\xFE"))
        return FromUtf16(text.substr(2), true);
    if (text.starts_with("\xFE\xFF"))
        return FromUtf16(text.substr(2), false);
    if (text.starts_with("\xEF\xBB\xBF"))
        return CodePage::FromUtf8(text.substr(3));
    for (bool littleEndian : {true, false})
        if (LooksLikeUtf16(text, littleEndian))
            return FromUtf16(text, littleEndian);
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
        bytes = ReadFileBytes(fileName, kMaxDataLinkFileSize);
    } catch (const std::exception& e) {
        throw std::runtime_error("Cannot read data link file \"" + fileName + "\": " + e.what());
    }
    std::string initString;
    bool found = false;
    ForEachLine(DecodeDataLinkText(bytes), TNulHandling::Keep, [&](std::string_view line) {
        std::string text = Trim(line);
        if (text.empty() || text[0] == ';' || text[0] == '[')
            return true;
        initString = std::move(text);
        found = true;
        return false;
    });
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
