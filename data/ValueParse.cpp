#include "ValueParse.h"

#include "ValueFormat.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <strings.h>
#include <vector>

namespace {

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct TNumber {
    int Value;
    size_t Digits;
};

// The numbers of a date or time text, split at anything that is not a digit.
std::vector<TNumber> Numbers(std::string_view text)
{
    std::vector<TNumber> numbers;
    size_t i = 0;
    while (i < text.size()) {
        if (!IsDigit(text[i])) {
            ++i;
            continue;
        }
        int value = 0;
        const size_t start = i;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            if (i - start < 9)
                value = value * 10 + (text[i] - '0');
        numbers.push_back({value, i - start});
    }
    return numbers;
}

bool OnlyDigitsAndSeparators(std::string_view text, char separator)
{
    for (char c : text)
        if (!IsDigit(c) && c != separator && c != '/' && c != '.' && c != '-')
            return false;
    return true;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

int CurrentYear()
{
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return parts.tm_year + 1900;
}

// A two-digit year falls within fifty years of the current one.
int FullYear(int year, size_t digits)
{
    if (digits > 2)
        return year;
    const int current = CurrentYear();
    int full = current / 100 * 100 + year;
    if (full > current + 50)
        full -= 100;
    else if (full <= current - 50)
        full += 100;
    return full;
}

std::string TwoDigits(int n)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02d", n % 100);
    return text;
}

} // namespace

std::optional<int64_t> ParseIntegerText(std::string_view text)
{
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::string> ParseDecimalText(std::string_view text, const TFormatSettings& settings)
{
    text = Trimmed(text);
    std::string plain;
    bool digits = false, point = false, exponent = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits = true;
        } else if ((c == '-' || c == '+') && (i == 0 || std::tolower(static_cast<unsigned char>(text[i - 1])) == 'e')) {
        } else if (c == settings.DecimalSeparator && !point && !exponent) {
            point = true;
            plain += '.';
            continue;
        } else if ((c == 'e' || c == 'E') && digits && !exponent) {
            exponent = true;
        } else {
            return std::nullopt;
        }
        plain += c;
    }
    if (!digits || !IsDigit(plain.back()))
        return std::nullopt;
    return plain;
}

std::optional<double> ParseFloatText(std::string_view text, const TFormatSettings& settings)
{
    const std::optional<std::string> plain = ParseDecimalText(text, settings);
    if (!plain)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(plain->data(), plain->data() + plain->size(), value);
    if (error != std::errc() || end != plain->data() + plain->size())
        return std::nullopt;
    return value;
}

std::optional<std::string> ParseDateText(std::string_view text, const TFormatSettings& settings)
{
    text = Trimmed(text);
    if (text.empty() || !OnlyDigitsAndSeparators(text, settings.DateSeparator))
        return std::nullopt;
    const std::vector<TNumber> numbers = Numbers(text);
    // The order of day, month and year in the short date format.
    std::string order;
    for (char c : settings.ShortDateFormat) {
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if ((letter == 'd' || letter == 'm' || letter == 'y') && order.find(letter) == std::string::npos)
            order += letter;
    }
    if (order.size() != 3)
        order = "mdy";
    int day = 0, month = 0, year = CurrentYear();
    if (numbers.size() == 2) {
        // Without a year: this year.
        const bool dayFirst = order.find('d') < order.find('m');
        day = (dayFirst ? numbers[0] : numbers[1]).Value;
        month = (dayFirst ? numbers[1] : numbers[0]).Value;
    } else if (numbers.size() == 3) {
        for (size_t k = 0; k < 3; ++k) {
            if (order[k] == 'd')
                day = numbers[k].Value;
            else if (order[k] == 'm')
                month = numbers[k].Value;
            else
                year = FullYear(numbers[k].Value, numbers[k].Digits);  // "24" is two-digit
        }
    } else {
        return std::nullopt;
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    char iso[32];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", year, month, day);
    return std::string(iso);
}

std::optional<std::string> ParseTimeText(std::string_view text, const TFormatSettings& settings)
{
    text = Trimmed(text);
    // A morning or afternoon marker, before or after the numbers.
    int shift = -1;
    auto takeMarker = [&](std::string_view marker, int hours) {
        if (marker.empty() || text.size() < marker.size())
            return;
        if (strncasecmp(text.data() + text.size() - marker.size(), marker.data(), marker.size()) == 0) {
            text = Trimmed(text.substr(0, text.size() - marker.size()));
            shift = hours;
        } else if (strncasecmp(text.data(), marker.data(), marker.size()) == 0) {
            text = Trimmed(text.substr(marker.size()));
            shift = hours;
        }
    };
    for (std::string_view marker : {std::string_view(settings.TimeAMString), std::string_view("AM")})
        if (shift < 0)
            takeMarker(marker, 0);
    for (std::string_view marker : {std::string_view(settings.TimePMString), std::string_view("PM")})
        if (shift < 0)
            takeMarker(marker, 12);
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (!IsDigit(c) && c != settings.TimeSeparator && c != ':')
            return std::nullopt;
    const std::vector<TNumber> numbers = Numbers(text);
    if (numbers.empty() || numbers.size() > 3)
        return std::nullopt;
    int hour = numbers[0].Value;
    const int minute = numbers.size() > 1 ? numbers[1].Value : 0;
    const int second = numbers.size() > 2 ? numbers[2].Value : 0;
    if (shift >= 0) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + shift;
    }
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
}

std::optional<std::string> ParseDateTimeText(std::string_view text, const TFormatSettings& settings)
{
    text = Trimmed(text);
    const size_t blank = text.find(' ');
    const std::optional<std::string> date = ParseDateText(text.substr(0, blank), settings);
    if (!date)
        return std::nullopt;
    if (blank == std::string_view::npos)
        return *date + " 00:00:00";
    const std::optional<std::string> time = ParseTimeText(text.substr(blank + 1), settings);
    if (!time)
        return std::nullopt;
    return *date + " " + *time;
}

std::optional<bool> ParseBooleanText(std::string_view text)
{
    text = Trimmed(text);
    for (const char* yes : {"true", "t", "yes", "y", "1"})
        if (text.size() == std::char_traits<char>::length(yes) && strncasecmp(text.data(), yes, text.size()) == 0)
            return true;
    for (const char* no : {"false", "f", "no", "n", "0"})
        if (text.size() == std::char_traits<char>::length(no) && strncasecmp(text.data(), no, text.size()) == 0)
            return false;
    return std::nullopt;
}
