// The short date format of every locale definition the machine has (glibc's
// locale sources) translates into a pattern that prints what the locale's
// strftime format prints.

#include "FormatSettings.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace {

const char* const LocaleSources = "/usr/share/i18n/locales";

// The UTF-8 form of a code point.
std::string Utf8(unsigned long c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// A quoted string of a locale source: "<U0025>d", with its escape character.
std::string SourceString(const std::string& line, char escape)
{
    const size_t open = line.find('"');
    std::string out;
    for (size_t i = open + 1; open != std::string::npos && i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == escape && i + 1 < line.size()) {
            out += line[++i];
        } else if (line.compare(i, 2, "<U") == 0 && line.find('>', i) != std::string::npos) {
            const size_t close = line.find('>', i);
            out += Utf8(std::stoul(line.substr(i + 2, close - i - 2), nullptr, 16));
            i = close;
        } else {
            out += line[i];
        }
    }
    return out;
}

// The d_fmt of a locale's LC_TIME section, following "copy" to another locale.
std::optional<std::string> DateFormatOf(const std::string& name, int depth = 0)
{
    std::ifstream in(std::string(LocaleSources) + "/" + name);
    if (!in || depth > 8)
        return std::nullopt;
    char escape = '\\', comment = '#';
    bool inTime = false;
    for (std::string line; std::getline(in, line);) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos)
            continue;
        std::string text = line.substr(start);
        if (text.rfind("escape_char", 0) == 0 && text.size() > 12)
            escape = text.back();
        else if (text.rfind("comment_char", 0) == 0 && text.size() > 13)
            comment = text.back();
        else if (text[0] == comment)
            continue;
        else if (text == "LC_TIME")
            inTime = true;
        else if (inTime && text.rfind("END LC_TIME", 0) == 0)
            return std::nullopt;
        else if (inTime && text.rfind("copy", 0) == 0)
            return DateFormatOf(SourceString(text, escape), depth + 1);
        else if (inTime && text.rfind("d_fmt", 0) == 0 && std::isspace(static_cast<unsigned char>(text[5])))
            return SourceString(text, escape);
    }
    return std::nullopt;
}

// What strftime prints in the C locale, whose names are the settings' default
// names; a blank-padded day, which the pattern language has not, as unpadded.
std::string Strftime(std::string format, const std::tm& date)
{
    for (const char* padded : {"%e", "%_d", "%_m"})
        for (size_t at; (at = format.find(padded)) != std::string::npos;)
            format.replace(at, std::string(padded).size(), std::string("%-") + padded[std::string(padded).size() - 1]);
    char buffer[256];
    const size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &date);
    return std::string(buffer, length);
}

} // namespace

TEST(LocaleDateFormats, EveryLocaleDefinitionPrintsItsDates)
{
    if (!std::filesystem::is_directory(LocaleSources))
        GTEST_SKIP() << "no locale sources in " << LocaleSources << " (Debian package locales)";
    const std::string savedTime = std::setlocale(LC_TIME, nullptr);
    std::setlocale(LC_TIME, "C");
    std::tm dates[2] = {};
    dates[0].tm_year = 2007 - 1900, dates[0].tm_mon = 2, dates[0].tm_mday = 5, dates[0].tm_wday = 1;
    dates[1].tm_year = 2024 - 1900, dates[1].tm_mon = 11, dates[1].tm_mday = 25, dates[1].tm_wday = 3;
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(LocaleSources)) {
        const std::string name = entry.path().filename();
        const std::optional<std::string> format = DateFormatOf(name);
        if (!format || format->empty())
            continue;
        TFormatSettings settings;
        ApplyStrftimeFormats(settings, *format, "");
        for (const std::tm& date : dates) {
            const double value = EncodeDateTime(date.tm_year + 1900, date.tm_mon + 1, date.tm_mday, 0, 0, 0, 0);
            EXPECT_EQ(FormatDateTime(settings.ShortDateFormat, value, settings), Strftime(*format, date))
                << name << ": " << *format << " became " << settings.ShortDateFormat;
        }
        ++checked;
    }
    std::setlocale(LC_TIME, savedTime.c_str());
    EXPECT_GT(checked, 100);
}

TEST(LocaleDateFormats, TranslationsOfTheDifficultForms)
{
    struct { const char* format; const char* pattern; } cases[] = {
        {"%-d/%-m/%y", "d/m/yy"},
        {"%-d.%-m.%Y", "d/m/yyyy"},
        {"%a, %Y.eko %bren %da", "ddd, yyyy/\"eko \"mmm\"ren \"dd\"a\""},
        {"%A %d %b %Y", "dddd dd mmm yyyy"},
        {"%d.%m/%Y", "dd/mm\"/\"yyyy"},
        {"%OC%Oy %b %Od %A", "yyyy mmm dd dddd"},
        {"%Y年%m月%d日", "yyyy年mm月dd日"},
        {"%d de %B", "dd\" de \"mmmm"},
        {"%d'%m", "dd\"'\"mm"},
    };
    for (const auto& c : cases) {
        TFormatSettings settings;
        ApplyStrftimeFormats(settings, c.format, "");
        EXPECT_EQ(settings.ShortDateFormat, c.pattern) << c.format;
    }
}
