#include "FormatSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <langinfo.h>
#include <locale.h>

namespace {

TFormatSettings& Current()
{
    static TFormatSettings settings = ReadLocaleFormatSettings("");
    return settings;
}

// The locale name a category takes from the environment, as setlocale would.
std::string EnvLocale(const char* categoryVariable)
{
    for (const char* name : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "C";
}

bool IsPlainLocale(const std::string& name)
{
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Appends literal text to a pattern, quoted where the pattern language would
// read it otherwise: letters, the separators "/" and ":" and quotes.
void AppendLiteral(std::string& pattern, std::string_view text)
{
    const bool plain = std::none_of(text.begin(), text.end(), [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) || c == '/' || c == ':' || c == '\'' || c == '"';
    });
    if (plain) {
        pattern += text;
        return;
    }
    const char quote = text.find('"') == std::string_view::npos ? '"' : '\'';
    pattern += quote;
    for (char c : text)
        if (c != quote)  // a text holding both quotes loses the one it is quoted with
            pattern += c;
    pattern += quote;
}

// The composite date conversions in their parts.
std::string ExpandDateFormat(const std::string& format)
{
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char conversion = format[i + 1];
            if (conversion == 'F') { out += "%Y-%m-%d"; ++i; continue; }
            if (conversion == 'D') { out += "%m/%d/%y"; ++i; continue; }
            out += format[i];
            out += format[++i];
            continue;
        }
        out += format[i];
    }
    return out;
}

// One strftime date format ("%d.%m.%Y", "%-d/%-m/%y", "%a, %Y.eko %bren %da")
// in our pattern language ("dd/mm/yyyy", "d/m/yy", "ddd, yyyy.'eko' ...");
// the first of ".", "/" and "-" between its parts becomes the date separator.
std::string DatePattern(const std::string& strftimeFormat, char& separator)
{
    const std::string format = ExpandDateFormat(strftimeFormat);
    std::string out, literal;
    bool separatorTaken = false;
    auto flush = [&] {
        AppendLiteral(out, literal);
        literal.clear();
    };
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            if (!separatorTaken && (c == '.' || c == '/' || c == '-')) {
                separator = c;
                separatorTaken = true;
            }
            if (separatorTaken && c == separator) {
                flush();
                out += '/';
            } else {
                literal += c;
            }
            continue;
        }
        // Flags and modifiers: "-" (no padding) matters; "_" pads with blanks,
        // which the pattern language cannot, so it reads as no padding too.
        bool unpadded = false;
        char conversion = format[++i];
        while (std::strchr("-_0^#EO", conversion) && i + 1 < format.size()) {
            unpadded = unpadded || conversion == '-' || conversion == '_';
            conversion = format[++i];
        }
        const char* part = nullptr;
        switch (conversion) {
        case 'd': part = unpadded ? "d" : "dd"; break;
        case 'e': part = "d"; break;
        case 'm': part = unpadded ? "m" : "mm"; break;
        case 'y': part = "yy"; break;
        case 'Y': part = "yyyy"; break;
        case 'b': case 'h': part = "mmm"; break;
        case 'B': part = "mmmm"; break;
        case 'a': part = "ddd"; break;
        case 'A': part = "dddd"; break;
        case 'C': {
            // The century and the year of the century make the whole year.
            size_t next = i + 1;
            if (next < format.size() && format[next] == '%') {
                size_t k = next + 1;
                while (k < format.size() && std::strchr("-_0^#EO", format[k]))
                    ++k;
                if (k < format.size() && format[k] == 'y') {
                    part = "yyyy";
                    i = k;
                }
            }
            break;
        }
        case 'n': literal += '\n'; break;
        case 't': literal += '\t'; break;
        case '%': literal += '%'; break;
        default: break;
        }
        if (part) {
            flush();
            out += part;
        }
    }
    flush();
    return out;
}

std::string ExpandTimeFormat(const std::string& format)
{
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            char conversion = format[i + 1];
            if (conversion == 'T') { out += "%H:%M:%S"; ++i; continue; }
            if (conversion == 'r') { out += "%I:%M:%S %p"; ++i; continue; }
            if (conversion == 'R') { out += "%H:%M"; ++i; continue; }
        }
        out += format[i];
    }
    return out;
}

// The long time format: the hour ("hh" with a leading zero, else "h"), then
// ":mm:ss", with "AMPM" behind or in front on a 12-hour clock.
std::string TimePattern(const std::string& strftimeFormat, char& separator)
{
    std::string format = ExpandTimeFormat(strftimeFormat);
    bool leadingZero = true, twelveHour = false, markerFirst = false, hourSeen = false;
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        char conversion = format[++i];
        switch (conversion) {
        case 'H': hourSeen = true; break;
        case 'I': hourSeen = true; twelveHour = true; break;
        case 'k': hourSeen = true; leadingZero = false; break;
        case 'l': hourSeen = true; twelveHour = true; leadingZero = false; break;
        case 'p': case 'P': twelveHour = true; markerFirst = !hourSeen; break;
        case 'M':
            // The character before "%M" separates hours and minutes.
            if (i >= 2 && std::ispunct(static_cast<unsigned char>(format[i - 2])) && format[i - 2] != '%')
                separator = format[i - 2];
            break;
        default: break;
        }
    }
    std::string time = std::string(leadingZero ? "hh" : "h") + ":mm:ss";
    if (!twelveHour)
        return time;
    return markerFirst ? "AMPM " + time : time + " AMPM";
}

} // namespace

void ApplyStrftimeFormats(TFormatSettings& settings, const std::string& dateFormat, const std::string& timeFormat)
{
    if (!dateFormat.empty())
        settings.ShortDateFormat = DatePattern(dateFormat, settings.DateSeparator);
    if (!timeFormat.empty())
        settings.LongTimeFormat = TimePattern(timeFormat, settings.TimeSeparator);
}

TFormatSettings ReadLocaleFormatSettings(const char* localeName)
{
    TFormatSettings settings;
    std::string numericName = *localeName ? localeName : EnvLocale("LC_NUMERIC");
    std::string timeName = *localeName ? localeName : EnvLocale("LC_TIME");

    if (!IsPlainLocale(numericName)) {
        if (locale_t loc = newlocale(LC_NUMERIC_MASK, numericName.c_str(), static_cast<locale_t>(0))) {
            const char* radix = nl_langinfo_l(RADIXCHAR, loc);
            if (radix && std::strlen(radix) == 1)
                settings.DecimalSeparator = radix[0];
            freelocale(loc);
        }
    }
    if (!IsPlainLocale(timeName)) {
        if (locale_t loc = newlocale(LC_TIME_MASK, timeName.c_str(), static_cast<locale_t>(0))) {
            auto text = [loc](nl_item item) { const char* s = nl_langinfo_l(item, loc); return std::string(s ? s : ""); };
            ApplyStrftimeFormats(settings, text(D_FMT), text(T_FMT));
            if (!text(AM_STR).empty())
                settings.TimeAMString = text(AM_STR);
            if (!text(PM_STR).empty())
                settings.TimePMString = text(PM_STR);
            for (int i = 0; i < 12; ++i) {
                settings.ShortMonthNames[i] = text(ABMON_1 + i);
                settings.LongMonthNames[i] = text(MON_1 + i);
            }
            for (int i = 0; i < 7; ++i) {
                settings.ShortDayNames[i] = text(ABDAY_1 + i);
                settings.LongDayNames[i] = text(DAY_1 + i);
            }
            freelocale(loc);
        }
    }
    return settings;
}

const TFormatSettings& FormatSettings()
{
    return Current();
}

TFormatSettings SetFormatSettings(const TFormatSettings& settings)
{
    TFormatSettings previous = Current();
    Current() = settings;
    return previous;
}
