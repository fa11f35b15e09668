#pragma once
// The program's 8-bit code page: the user's locale character set, UTF-8 on a
// typical Linux. A C/POSIX (ASCII) locale is taken as UTF-8 too, so that
// national text survives a bare environment. Conversions never fail: a
// character that has no form in the target is replaced by '?'.

#include <string>
#include <string_view>

namespace CodePage {

// The iconv name of the program code page, e.g. "UTF-8" or "CP1251".
const std::string& ProgramName();
bool ProgramIsUtf8();

// Converts between the program code page and UTF-8 / UTF-16.
std::string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::string_view text);
std::string FromUtf16(std::u16string_view utf16);
std::u16string ToUtf16(std::string_view text);

// Converts between two named code pages (iconv names, e.g. "CP866").
std::string Convert(std::string_view text, const char* from, const char* to);

} // namespace CodePage
