#pragma once
// Value texts: the general number format, fixed-point decimals, and date/time
// values (day counts since 30 December 1899) with their pattern language.

#include "FormatSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The general number format with `precision` significant digits.
std::string FormatGeneral(double value, int precision, char decimalSeparator);

// Fixed-point decimals: a 64-bit integer scaled by 10000.
inline constexpr int64_t BcdScale = 10000;
std::string FormatBcd(int64_t scaled, char decimalSeparator);
void AppendBcd(int64_t scaled, char decimalSeparator, std::string& out);
// Plain decimal text ("-12.50", "1e3", " 7 ") to fixed point, rounded half away
// from zero to four decimals; empty when it is no number or out of range.
std::optional<int64_t> ParseBcd(std::string_view text);
std::optional<int64_t> BcdFromDouble(double value);
std::optional<int64_t> BcdFromInteger(int64_t value);
// A whole text as a number with "." as decimal separator, whatever the C
// library's locale; blanks at both ends are allowed. Empty when the text is no
// number or out of the range of a double; outOfRange then tells the two apart.
std::optional<double> ParseDouble(std::string_view text, bool* outOfRange = nullptr);

// Day count <-> calendar. Negative day counts are dates before 1899-12-30
// whose fraction still counts forward from midnight.
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec);
struct TDateTimeParts { int Year, Month, Day, Hour, Minute, Second, Msec, DayOfWeek; };  // DayOfWeek 0 = Sunday
// Defined for every double: NaN reads as 0, and values before 0000-01-01 or
// after 9999-12-31 23:59:59.999 as those bounds.
TDateTimeParts DecodeDateTime(double value);

// ISO 8601 text as SQLite keeps it: "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS[.fff]]"
// (or with "T"), "HH:MM[:SS[.fff]]". Empty when the text is none of them.
std::optional<double> ParseIsoDateTime(std::string_view text);
// The same read straight into the parts DecodeDateTime gives for that day
// count (every form it reads is exact to the millisecond), without the round
// trip through a day count.
std::optional<TDateTimeParts> ParseIsoDateTimeParts(std::string_view text);

// The date/time pattern language of the short date and long time formats.
std::string FormatDateTime(std::string_view pattern, double value, const TFormatSettings& settings);
void AppendDateTime(std::string_view pattern, double value, const TFormatSettings& settings, std::string& out);
void AppendDateTime(std::string_view pattern, const TDateTimeParts& parts, const TFormatSettings& settings,
                    std::string& out);

// Short date, then the long time when the time of day is not midnight.
std::string DateTimeText(double value, const TFormatSettings& settings);
void AppendDateTimeText(const TDateTimeParts& parts, const TFormatSettings& settings, std::string& out);
