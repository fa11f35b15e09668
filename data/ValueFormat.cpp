#include "ValueFormat.h"

#include <algorithm>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

// ---- numbers ---------------------------------------------------------------

namespace {

// Digits d1d2d3... and the point position e of value = 0.d1d2d3... * 10^e.
std::string PlaceDigits(const std::string& digits, int e, int precision, char separator)
{
    std::string out;
    if (e > precision || e < -3) {
        out += digits[0];
        if (digits.size() > 1) {
            out += separator;
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        if (e - 1 < 0)
            out += '-';
        out += std::to_string(std::abs(e - 1));
    } else if (e <= 0) {
        out += '0';
        out += separator;
        out.append(static_cast<size_t>(-e), '0');
        out += digits;
    } else {
        if (digits.size() <= static_cast<size_t>(e)) {
            out += digits;
            out.append(static_cast<size_t>(e) - digits.size(), '0');
        } else {
            out.append(digits, 0, static_cast<size_t>(e));
            out += separator;
            out.append(digits, static_cast<size_t>(e), std::string::npos);
        }
    }
    return out;
}

} // namespace

std::string FormatGeneral(double value, int precision, char decimalSeparator)
{
    std::string sign = std::signbit(value) && value != 0 ? "-" : "";
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return sign + "INF";
    if (value == 0)
        return "0";
    char buffer[64];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific,
                                    precision - 1).ptr;
    // buffer: d.dddde[+-]XX
    std::string digits;
    const char* p = buffer;
    for (; p != end && *p != 'e'; ++p)
        if (std::isdigit(static_cast<unsigned char>(*p)))
            digits += *p;
    int exponent = 0;
    if (p != end) {
        ++p;
        if (*p == '+')
            ++p;
        std::from_chars(p, end, exponent);
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return sign + PlaceDigits(digits, exponent + 1, precision, decimalSeparator);
}

std::string FormatBcd(int64_t scaled, char decimalSeparator)
{
    std::string text;
    AppendBcd(scaled, decimalSeparator, text);
    return text;
}

void AppendBcd(int64_t scaled, char decimalSeparator, std::string& out)
{
    uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* at = end;
    uint64_t fraction = magnitude % BcdScale;
    if (fraction != 0) {
        int digits = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        for (int k = 0; k < digits; ++k, fraction /= 10)
            *--at = static_cast<char>('0' + fraction % 10);
        *--at = decimalSeparator;
    }
    uint64_t whole = magnitude / BcdScale;
    do {
        *--at = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (scaled < 0)
        *--at = '-';
    out.append(at, end);
}

std::optional<int64_t> ParseBcd(std::string_view text)
{
    size_t i = 0, n = text.size();
    auto blank = [&](size_t at) { return static_cast<unsigned char>(text[at]) <= ' '; };
    while (i < n && blank(i))
        ++i;
    while (n > i && blank(n - 1))
        --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::string digits;  // significant digits without leading zeros
    int point = 0;       // digits before the decimal point, counted from digits[0]
    bool any = false, seenPoint = false;
    for (; i < n; ++i) {
        char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            any = true;
            if (digits.empty() && c == '0') {
                if (seenPoint)
                    --point;
                continue;
            }
            digits += c;
            if (!seenPoint)
                ++point;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!any)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        if (i == n)
            return std::nullopt;
        long exponent = 0;
        for (; i < n && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000L);
        point += static_cast<int>(negativeExponent ? -exponent : exponent);
    }
    if (i != n)
        return std::nullopt;
    if (digits.empty())
        return 0;
    int kept = point + 4;  // digits of the scaled integer
    if (kept > 20)
        return std::nullopt;
    __int128 scaled = 0;
    for (int k = 0; k < kept; ++k)
        scaled = scaled * 10 + (k < static_cast<int>(digits.size()) ? digits[k] - '0' : 0);
    if (kept >= 0 && kept < static_cast<int>(digits.size()) && digits[kept] >= '5')
        ++scaled;
    if (negative)
        scaled = -scaled;
    if (scaled > std::numeric_limits<int64_t>::max() || scaled < std::numeric_limits<int64_t>::min())
        return std::nullopt;
    return static_cast<int64_t>(scaled);
}

std::optional<int64_t> BcdFromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // Fast path: well inside the exact range of a double, and far enough from
    // a half that the binary error of the product cannot decide the rounding.
    if (std::fabs(value) < 1e9) {
        const double scaled = value * BcdScale;
        const double fraction = std::fabs(scaled - std::trunc(scaled));
        if (std::fabs(fraction - 0.5) > 0.01)
            return static_cast<int64_t>(std::round(scaled));
    }
    // Otherwise round the value as its 15-digit decimal text reads.
    char buffer[64];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    return ParseBcd(std::string_view(buffer, static_cast<size_t>(end - buffer)));
}

std::optional<double> ParseDouble(std::string_view text, bool* outOfRange)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size())
        return std::nullopt;
    if (outOfRange)
        *outOfRange = error == std::errc::result_out_of_range;
    if (error != std::errc())
        return std::nullopt;
    return value;
}

std::optional<int64_t> BcdFromInteger(int64_t value)
{
    constexpr int64_t limit = std::numeric_limits<int64_t>::max() / BcdScale;
    if (value > limit || value < -limit)
        return std::nullopt;
    return value * BcdScale;
}

// ---- dates -----------------------------------------------------------------

namespace {

constexpr double MsecPerDay = 86400000.0;

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const int64_t Epoch = DaysFromCivil(1899, 12, 30);
// The day counts of 0000-01-01 00:00 and 9999-12-31 23:59:59.999, the span of
// four-digit years.
const double MinDateTime = static_cast<double>(DaysFromCivil(0, 1, 1) - Epoch);
const double MaxDateTime = static_cast<double>(DaysFromCivil(9999, 12, 31) - Epoch) + 86399999.0 / MsecPerDay;

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    double days = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - Epoch);
    double fraction = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec;
    fraction /= MsecPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

TDateTimeParts DecodeDateTime(double value)
{
    // Outside the years 0 to 9999 (and for NaN) there is no date to show:
    // the value is held to that range first, so the conversions below are
    // defined for any double.
    value = std::isnan(value) ? 0.0 : std::clamp(value, MinDateTime, MaxDateTime);
    double whole = std::trunc(value);
    int64_t days = static_cast<int64_t>(whole);
    int64_t msec = std::llround(std::fabs(value - whole) * MsecPerDay);
    // The time counts forward from midnight, also on days before 1899-12-30:
    // a time rounded up to a whole day is midnight of the next day.
    if (msec >= static_cast<int64_t>(MsecPerDay)) {
        msec -= static_cast<int64_t>(MsecPerDay);
        ++days;
    }
    TDateTimeParts parts{};
    CivilFromDays(days + Epoch, parts.Year, parts.Month, parts.Day);
    parts.Hour = static_cast<int>(msec / 3600000);
    parts.Minute = static_cast<int>(msec / 60000 % 60);
    parts.Second = static_cast<int>(msec / 1000 % 60);
    parts.Msec = static_cast<int>(msec % 1000);
    parts.DayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7);  // 1899-12-30 was a Saturday
    return parts;
}

namespace {

bool Number(std::string_view text, size_t& at, size_t count, int& value)
{
    if (at + count > text.size())
        return false;
    value = 0;
    for (size_t k = 0; k < count; ++k) {
        char c = text[at + k];
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        value = value * 10 + (c - '0');
    }
    at += count;
    return true;
}

// "HH:MM[:SS[.fff...]]" from `at` to the end of the text.
bool ParseTime(std::string_view text, size_t at, int& hour, int& minute, int& second, int& msec)
{
    second = msec = 0;
    if (!Number(text, at, 2, hour) || at >= text.size() || text[at++] != ':' || !Number(text, at, 2, minute))
        return false;
    if (at < text.size() && text[at] == ':') {
        ++at;
        if (!Number(text, at, 2, second))
            return false;
        if (at < text.size() && text[at] == '.') {
            ++at;
            size_t start = at;
            int scale = 100;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
                msec += (text[at] - '0') * scale;
                scale /= 10;
                ++at;
            }
            if (at == start)
                return false;
        }
    }
    return at == text.size() && hour < 24 && minute < 60 && second < 60;
}

} // namespace

std::optional<TDateTimeParts> ParseIsoDateTimeParts(std::string_view text)
{
    TDateTimeParts t{1899, 12, 30, 0, 0, 0, 0, 0};
    if (text.size() >= 5 && text[2] == ':') {
        if (!ParseTime(text, 0, t.Hour, t.Minute, t.Second, t.Msec))
            return std::nullopt;
        t.DayOfWeek = 6;  // 1899-12-30 was a Saturday
        return t;
    }
    size_t at = 0;
    if (!Number(text, at, 4, t.Year) || at >= text.size() || text[at++] != '-' || !Number(text, at, 2, t.Month) ||
        at >= text.size() || text[at++] != '-' || !Number(text, at, 2, t.Day))
        return std::nullopt;
    if (t.Month < 1 || t.Month > 12 || t.Day < 1 || t.Day > DaysInMonth(t.Year, t.Month))
        return std::nullopt;
    if (at < text.size()) {
        if (text[at] != ' ' && text[at] != 'T')
            return std::nullopt;
        if (!ParseTime(text, at + 1, t.Hour, t.Minute, t.Second, t.Msec))
            return std::nullopt;
    }
    const int64_t days = DaysFromCivil(t.Year, static_cast<unsigned>(t.Month), static_cast<unsigned>(t.Day)) - Epoch;
    t.DayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7);
    return t;
}

std::optional<double> ParseIsoDateTime(std::string_view text)
{
    const std::optional<TDateTimeParts> t = ParseIsoDateTimeParts(text);
    if (!t)
        return std::nullopt;
    return EncodeDateTime(t->Year, t->Month, t->Day, t->Hour, t->Minute, t->Second, t->Msec);
}

namespace {

bool StartsNoCase(std::string_view text, size_t at, std::string_view word)
{
    if (at + word.size() > text.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(text[at + k])) != word[k])
            return false;
    return true;
}

// An AM/PM marker later in the pattern, outside quotes, makes hours 12-hour.
bool MarkerFollows(std::string_view pattern, size_t at)
{
    char quote = 0;
    for (; at < pattern.size(); ++at) {
        char c = pattern[at];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (StartsNoCase(pattern, at, "am/pm") || StartsNoCase(pattern, at, "a/p") || StartsNoCase(pattern, at, "ampm")) {
            return true;
        }
    }
    return false;
}

void AppendNumber(std::string& out, int value, int digits)
{
    // Days, months and times of day, the common case, go straight in.
    if (value >= 0 && value < 100 && digits <= 2) {
        if (value >= 10 || digits == 2)
            out += static_cast<char>('0' + value / 10);
        out += static_cast<char>('0' + value % 10);
        return;
    }
    char buffer[16];
    char* end = buffer + sizeof buffer;
    char* at = end;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--at = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (end - at < digits)
        *--at = '0';
    if (value < 0)
        *--at = '-';
    out.append(at, end);
}

// A date/time pattern read once into the parts it prints; formatting then
// only walks the parts. What a part prints may still depend on the settings
// (names, separators), so a compiled pattern depends on its text alone.
enum class TPatternPart : uint8_t {
    Literal, Day, ShortDayName, LongDayName, Month, ShortMonthName, LongMonthName, Year2, Year4,
    Hour, Hour12, Minute, Second, Msec, AmPmSetting, AmPmLiteral, DateSeparator, TimeSeparator,
};

struct TPatternToken {
    TPatternPart Part;
    int Digits = 0;   // minimum digits of a number
    std::string Text; // a literal, or the AM text of an AM/PM literal
    std::string Pm;   // the PM text of an AM/PM literal
};

using TCompiledPattern = std::vector<TPatternToken>;

TCompiledPattern CompilePattern(std::string_view pattern)
{
    TCompiledPattern tokens;
    auto add = [&](TPatternPart part, int digits = 0) { tokens.push_back({part, digits, {}, {}}); };
    auto literal = [&](std::string_view text) {
        if (tokens.empty() || tokens.back().Part != TPatternPart::Literal)
            tokens.push_back({TPatternPart::Literal, 0, {}, {}});
        tokens.back().Text.append(text);
    };
    char lastToken = 0;
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        char token = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t count = 1;
        auto run = [&] {
            while (i + count < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + count])) == token)
                ++count;
        };
        switch (token) {
        case '\'': case '"': {
            size_t end = pattern.find(c, i + 1);
            if (end == std::string_view::npos)
                end = pattern.size();
            literal(pattern.substr(i + 1, end - i - 1));
            i = end < pattern.size() ? end + 1 : end;
            continue;
        }
        case 'd':
            run();
            if (count <= 2)
                add(TPatternPart::Day, static_cast<int>(count));
            else
                add(count == 3 ? TPatternPart::ShortDayName : TPatternPart::LongDayName);
            break;
        case 'm':
            run();
            if (lastToken == 'h') {
                add(TPatternPart::Minute, count >= 2 ? 2 : 1);
                token = 'n';
            } else if (count <= 2) {
                add(TPatternPart::Month, static_cast<int>(count));
            } else {
                add(count == 3 ? TPatternPart::ShortMonthName : TPatternPart::LongMonthName);
            }
            break;
        case 'y':
            run();
            add(count <= 2 ? TPatternPart::Year2 : TPatternPart::Year4);
            break;
        case 'h':
            run();
            add(MarkerFollows(pattern, i + count) ? TPatternPart::Hour12 : TPatternPart::Hour, count >= 2 ? 2 : 1);
            break;
        case 'n':
            run();
            add(TPatternPart::Minute, count >= 2 ? 2 : 1);
            break;
        case 's':
            run();
            add(TPatternPart::Second, count >= 2 ? 2 : 1);
            break;
        case 'z':
            run();
            add(TPatternPart::Msec, count >= 3 ? 3 : 1);
            break;
        case 'a':
            if (StartsNoCase(pattern, i, "ampm")) {
                add(TPatternPart::AmPmSetting);
                count = 4;
            } else if (StartsNoCase(pattern, i, "am/pm")) {
                tokens.push_back({TPatternPart::AmPmLiteral, 0, std::string(pattern.substr(i, 2)),
                                  std::string(pattern.substr(i + 3, 2))});
                count = 5;
            } else if (StartsNoCase(pattern, i, "a/p")) {
                tokens.push_back({TPatternPart::AmPmLiteral, 0, std::string(1, pattern[i]), std::string(1, pattern[i + 2])});
                count = 3;
            } else {
                literal(std::string_view(&c, 1));
                token = lastToken;
            }
            break;
        case '/':
            add(TPatternPart::DateSeparator);
            token = lastToken;
            break;
        case ':':
            add(TPatternPart::TimeSeparator);
            token = lastToken;
            break;
        default:
            literal(std::string_view(&c, 1));
            if (!std::isalpha(static_cast<unsigned char>(c)))
                token = lastToken;
            break;
        }
        lastToken = token;
        i += count;
    }
    return tokens;
}

// The compiled form of a pattern. The program formats with a handful of
// patterns (the settings' short date and long time), so a few are kept.
const TCompiledPattern& CompiledPattern(std::string_view pattern)
{
    constexpr size_t Kept = 8;
    thread_local std::vector<std::pair<std::string, TCompiledPattern>> cache;
    for (const auto& entry : cache)
        if (entry.first == pattern)
            return entry.second;
    if (cache.size() == Kept)
        cache.erase(cache.begin());
    cache.emplace_back(std::string(pattern), CompilePattern(pattern));
    return cache.back().second;
}

void AppendFormatted(std::string& out, const TCompiledPattern& tokens, const TDateTimeParts& t,
                     const TFormatSettings& settings)
{
    for (const TPatternToken& token : tokens) {
        switch (token.Part) {
        case TPatternPart::Literal: out += token.Text; break;
        case TPatternPart::Day: AppendNumber(out, t.Day, token.Digits); break;
        case TPatternPart::ShortDayName: out += settings.ShortDayNames[t.DayOfWeek]; break;
        case TPatternPart::LongDayName: out += settings.LongDayNames[t.DayOfWeek]; break;
        case TPatternPart::Month: AppendNumber(out, t.Month, token.Digits); break;
        case TPatternPart::ShortMonthName: out += settings.ShortMonthNames[t.Month - 1]; break;
        case TPatternPart::LongMonthName: out += settings.LongMonthNames[t.Month - 1]; break;
        case TPatternPart::Year2: AppendNumber(out, t.Year % 100, 2); break;
        case TPatternPart::Year4: AppendNumber(out, t.Year, 4); break;
        case TPatternPart::Hour: AppendNumber(out, t.Hour, token.Digits); break;
        case TPatternPart::Hour12: AppendNumber(out, t.Hour % 12 == 0 ? 12 : t.Hour % 12, token.Digits); break;
        case TPatternPart::Minute: AppendNumber(out, t.Minute, token.Digits); break;
        case TPatternPart::Second: AppendNumber(out, t.Second, token.Digits); break;
        case TPatternPart::Msec: AppendNumber(out, t.Msec, token.Digits); break;
        case TPatternPart::AmPmSetting: out += t.Hour >= 12 ? settings.TimePMString : settings.TimeAMString; break;
        case TPatternPart::AmPmLiteral: out += t.Hour >= 12 ? token.Pm : token.Text; break;
        case TPatternPart::DateSeparator: out += settings.DateSeparator; break;
        case TPatternPart::TimeSeparator: out += settings.TimeSeparator; break;
        }
    }
}

} // namespace

std::string FormatDateTime(std::string_view pattern, double value, const TFormatSettings& settings)
{
    std::string text;
    AppendDateTime(pattern, value, settings, text);
    return text;
}

void AppendDateTime(std::string_view pattern, double value, const TFormatSettings& settings, std::string& out)
{
    AppendDateTime(pattern, DecodeDateTime(value), settings, out);
}

void AppendDateTime(std::string_view pattern, const TDateTimeParts& parts, const TFormatSettings& settings,
                    std::string& out)
{
    AppendFormatted(out, CompiledPattern(pattern), parts, settings);
}

std::string DateTimeText(double value, const TFormatSettings& settings)
{
    std::string text;
    AppendDateTimeText(DecodeDateTime(value), settings, text);
    return text;
}

void AppendDateTimeText(const TDateTimeParts& t, const TFormatSettings& settings, std::string& out)
{
    AppendFormatted(out, CompiledPattern(settings.ShortDateFormat), t, settings);
    if (t.Hour != 0 || t.Minute != 0 || t.Second != 0) {
        out += ' ';
        AppendFormatted(out, CompiledPattern(settings.LongTimeFormat), t, settings);
    }
}
