#pragma once
// Number and date formatting settings, read once from the user's locale.

#include <array>
#include <string>

struct TFormatSettings {
    char DecimalSeparator = '.';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "m/d/yy";
    std::string LongTimeFormat = "h:mm:ss";
    std::string TimeAMString = "am";
    std::string TimePMString = "pm";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January", "February", "March", "April", "May", "June",
                                               "July", "August", "September", "October", "November", "December"};
    // Sunday first.
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The settings in force: the user's locale (LC_ALL / LC_NUMERIC / LC_TIME /
// LANG) read on first use, unless substituted.
const TFormatSettings& FormatSettings();

// Reads the settings of a named locale ("" = the user's); the defaults above
// stand for whatever the locale does not say, and for the C/POSIX locale.
TFormatSettings ReadLocaleFormatSettings(const char* localeName = "");

// Takes the short date and long time formats, with their separators, from a
// locale's strftime formats (D_FMT "%d.%m.%Y", T_FMT "%I:%M:%S %p"); an empty
// format leaves its setting alone.
void ApplyStrftimeFormats(TFormatSettings& settings, const std::string& dateFormat, const std::string& timeFormat);

// Replaces the settings in force; returns the previous ones.
TFormatSettings SetFormatSettings(const TFormatSettings& settings);

// Substitutes settings for the lifetime of the object (tests).
class TFormatSettingsOverride {
public:
    explicit TFormatSettingsOverride(const TFormatSettings& settings) : saved_(SetFormatSettings(settings)) {}
    ~TFormatSettingsOverride() { SetFormatSettings(saved_); }
    TFormatSettingsOverride(const TFormatSettingsOverride&) = delete;
    TFormatSettingsOverride& operator=(const TFormatSettingsOverride&) = delete;
private:
    TFormatSettings saved_;
};
