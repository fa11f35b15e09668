#include "FieldTypes.h"
#include "FormatSettings.h"
#include "ValueFormat.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <locale.h>
#include <string>
#include <vector>

struct TGeneralCase { double value; int precision; const char* text; };

TEST(GeneralFormat, FollowsTheDigitAndExponentRules)
{
    const TGeneralCase cases[] = {
        {1e15, 15, "1E15"},
        {123456789012345.0, 15, "123456789012345"},
        {0.0001, 15, "0.0001"},
        {0.00001, 15, "1E-5"},
        {static_cast<double>(0.1f), 15, "0.100000001490116"},
        {0, 15, "0"},
        {-2.5, 15, "-2.5"},
        {100, 15, "100"},
        {1.5e-10, 15, "1.5E-10"},
        {-1.25e20, 15, "-1.25E20"},
        {1.0 / 3, 15, "0.333333333333333"},
        {std::numeric_limits<double>::infinity(), 15, "INF"},
        {-std::numeric_limits<double>::infinity(), 15, "-INF"},
        {std::nan(""), 15, "NAN"},
    };
    for (const TGeneralCase& c : cases)
        EXPECT_EQ(FormatGeneral(c.value, c.precision, '.'), c.text) << c.value;
    EXPECT_EQ(FormatGeneral(12.5, 15, ','), "12,5");
}

TEST(Bcd, ParsesRoundsAndFormats)
{
    struct { const char* text; const char* formatted; } cases[] = {
        {"12.50", "12.5"}, {"1.234567", "1.2346"}, {"100", "100"}, {"-0.00005", "-0.0001"},
        {"0.00004", "0"}, {" 7 ", "7"}, {"1e3", "1000"}, {"922337203685477.5807", "922337203685477.5807"},
        {"-922337203685477.5808", "-922337203685477.5808"}, {"0.0001", "0.0001"},
    };
    for (const auto& c : cases) {
        std::optional<int64_t> value = ParseBcd(c.text);
        ASSERT_TRUE(value) << c.text;
        EXPECT_EQ(FormatBcd(*value, '.'), c.formatted) << c.text;
    }
    for (const char* text : {"922337203685477.5808", "1e20", "abc", "", "1.2.3", "12x"})
        EXPECT_FALSE(ParseBcd(text)) << text;
    // A double converts as its 15-digit decimal text, so 12.34565 rounds up.
    EXPECT_EQ(FormatBcd(*BcdFromDouble(12.34565), ','), "12,3457");
    EXPECT_FALSE(BcdFromInteger(std::numeric_limits<int64_t>::max()));
    EXPECT_FALSE(BcdFromDouble(1e19));
}

TEST(DateTime, EncodesAndParsesIsoText)
{
    EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0, 0), 0);
    EXPECT_EQ(EncodeDateTime(2000, 1, 1, 0, 0, 0, 0), 36526);
    EXPECT_DOUBLE_EQ(*ParseIsoDateTime("2000-01-01 12:00:00"), 36526.5);
    EXPECT_DOUBLE_EQ(*ParseIsoDateTime("2000-01-01T06:00"), 36526.25);
    EXPECT_DOUBLE_EQ(*ParseIsoDateTime("18:00:00.000"), 0.75);
    EXPECT_DOUBLE_EQ(*ParseIsoDateTime("1899-12-29 06:00:00"), -1.25);
    for (const char* text : {"abc", "2024-02-30", "2024-13-01", "2024-01-01 25:00", "2024-01-01x", "2024-1-1"})
        EXPECT_FALSE(ParseIsoDateTime(text)) << text;
    TDateTimeParts parts = DecodeDateTime(*ParseIsoDateTime("1899-12-29 06:00:00"));
    EXPECT_EQ(parts.Day, 29);
    EXPECT_EQ(parts.Hour, 6);
}

TEST(DateTime, AnyDayCountDecodes)
{
    struct Case {
        double value;
        std::vector<int> parts;  // year, month, day, hour, minute, second, msec
    };
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {-1.9999999999, {1899, 12, 30, 0, 0, 0, 0}},   // 24:00 of 1899-12-29
        {-0.9999999999, {1899, 12, 31, 0, 0, 0, 0}},
        {0.9999999999, {1899, 12, 31, 0, 0, 0, 0}},
        {-1.25, {1899, 12, 29, 6, 0, 0, 0}},
        {nan, {1899, 12, 30, 0, 0, 0, 0}},
        {inf, {9999, 12, 31, 23, 59, 59, 999}},
        {1e300, {9999, 12, 31, 23, 59, 59, 999}},
        {-inf, {0, 1, 1, 0, 0, 0, 0}},
        {-1e300, {0, 1, 1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const TDateTimeParts p = DecodeDateTime(c.value);
        EXPECT_EQ(std::vector<int>({p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.Msec}), c.parts)
            << c.value;
    }
}

TEST(DateTime, IsoTextReadsIntoThePartsOfItsDayCount)
{
    for (const char* text : {"1899-12-30", "1899-12-30 00:00:00.001", "1899-12-29 23:59:59.999", "0001-01-01 12:34",
                             "0000-02-29T01:02:03.4567", "9999-12-31 23:59:59.999", "2024-02-29 00:00:01",
                             "1900-03-01", "12:00", "23:59:59.999", "00:00:00.000"}) {
        const std::optional<TDateTimeParts> read = ParseIsoDateTimeParts(text);
        ASSERT_TRUE(read) << text;
        const TDateTimeParts decoded = DecodeDateTime(*ParseIsoDateTime(text));
        EXPECT_EQ(std::vector<int>({read->Year, read->Month, read->Day, read->Hour, read->Minute, read->Second,
                                    read->Msec, read->DayOfWeek}),
                  std::vector<int>({decoded.Year, decoded.Month, decoded.Day, decoded.Hour, decoded.Minute,
                                    decoded.Second, decoded.Msec, decoded.DayOfWeek}))
            << text;
    }
    for (const char* text : {"abc", "2024-02-30", "2024-01-01 25:00", "2024-1-1", "1:00"})
        EXPECT_FALSE(ParseIsoDateTimeParts(text)) << text;
}

TEST(DateTime, PatternLanguage)
{
    TFormatSettings s;
    s.DateSeparator = '.';
    s.TimeSeparator = '-';
    s.TimeAMString = "vorm";
    s.TimePMString = "nachm";
    const double value = EncodeDateTime(2024, 3, 5, 14, 7, 9, 0);  // a Tuesday
    struct { const char* pattern; const char* text; } cases[] = {
        {"d/m/yy", "5.3.24"},
        {"dd/mm/yyyy", "05.03.2024"},
        {"ddd dddd", "Tue Tuesday"},
        {"mmm mmmm", "Mar March"},
        {"h:mm:ss", "14-07-09"},
        {"hh:nn", "14-07"},
        {"h:mm AMPM", "2-07 nachm"},
        {"AMPM h:mm", "nachm 14-07"},  // only a marker after the hour makes it 12-hour
        {"h:mm ampm", "2-07 nachm"},
        {"hh am/pm", "02 pm"},
        {"h A/P", "2 P"},
        {"'at' h\"h\"", "at 14h"},
        {"YYYY-MM-DD", "2024-03-05"},
        {"y", "24"},
        {"yyy", "2024"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.pattern, value, s), c.text) << c.pattern;
    const double midnight = EncodeDateTime(2024, 3, 5, 0, 30, 0, 0);
    EXPECT_EQ(FormatDateTime("h:nn AM/PM", midnight, s), "12-30 AM");
    EXPECT_EQ(DateTimeText(EncodeDateTime(2024, 3, 5, 0, 0, 0, 0), s), "3.5.24");
    EXPECT_EQ(DateTimeText(value, TFormatSettings()), "3/5/24 14:07:09");
}

TEST(DateTime, PatternsKeepTheirTextsWhenManyAreUsedInTurn)
{
    // More patterns than are kept compiled, used over and over in turn, and
    // one pattern under two settings.
    const double value = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
    const TFormatSettings plain;
    std::vector<std::string> patterns, first;
    for (int i = 0; i < 12; ++i) {
        patterns.push_back(std::string(static_cast<size_t>(i % 4 + 1), 'd') + "/m/yy h:nn:ss.zzz '" +
                           std::to_string(i) + "'");
        first.push_back(FormatDateTime(patterns.back(), value, plain));
    }
    EXPECT_EQ(first[1], "05/3/24 14:07:09.045 1");
    for (int round = 0; round < 3; ++round)
        for (size_t i = 0; i < patterns.size(); ++i)
            EXPECT_EQ(FormatDateTime(patterns[i], value, plain), first[i]) << patterns[i];
    TFormatSettings dotted;
    dotted.DateSeparator = '.';
    EXPECT_EQ(FormatDateTime("d/m", value, plain), "5/3");
    EXPECT_EQ(FormatDateTime("d/m", value, dotted), "5.3");
}

TEST(FormatSettings, LocalesFillTheSettings)
{
    TFormatSettings plain = ReadLocaleFormatSettings("C");
    EXPECT_EQ(plain.DecimalSeparator, '.');
    EXPECT_EQ(plain.ShortDateFormat, "m/d/yy");
    EXPECT_EQ(plain.LongTimeFormat, "h:mm:ss");
    EXPECT_EQ(plain.TimeAMString, "am");
    if (locale_t loc = newlocale(LC_ALL_MASK, "ru_RU.UTF-8", static_cast<locale_t>(0))) {
        freelocale(loc);
        TFormatSettings ru = ReadLocaleFormatSettings("ru_RU.UTF-8");
        EXPECT_EQ(ru.DecimalSeparator, ',');
        EXPECT_EQ(ru.DateSeparator, '.');
        EXPECT_EQ(ru.ShortDateFormat, "dd/mm/yyyy");
        EXPECT_EQ(ru.LongTimeFormat, "hh:mm:ss");
    }
    if (locale_t loc = newlocale(LC_ALL_MASK, "en_US.UTF-8", static_cast<locale_t>(0))) {
        freelocale(loc);
        TFormatSettings us = ReadLocaleFormatSettings("en_US.UTF-8");
        EXPECT_EQ(us.ShortDateFormat, "mm/dd/yyyy");
        EXPECT_EQ(us.LongTimeFormat, "hh:mm:ss AMPM");
        EXPECT_EQ(us.TimeAMString, "AM");
    }
}

TEST(FormatSettings, StrftimeFormatsBecomePatterns)
{
    struct { const char* date; const char* time; const char* shortDate; char dateSep; const char* longTime; char timeSep; } cases[] = {
        {"%d.%m.%Y", "%T", "dd/mm/yyyy", '.', "hh:mm:ss", ':'},
        {"%m/%d/%Y", "%r", "mm/dd/yyyy", '/', "hh:mm:ss AMPM", ':'},
        {"%Y-%m-%d", "%H.%M.%S", "yyyy/mm/dd", '-', "hh:mm:ss", '.'},
        {"%e/%m/%y", "%l:%M:%S %p", "d/mm/yy", '/', "h:mm:ss AMPM", ':'},
        {"%F", "%p %I:%M:%S", "yyyy/mm/dd", '-', "AMPM hh:mm:ss", ':'},
        {"", "", "m/d/yy", '/', "h:mm:ss", ':'},
    };
    for (const auto& c : cases) {
        TFormatSettings s;
        ApplyStrftimeFormats(s, c.date, c.time);
        EXPECT_EQ(s.ShortDateFormat, c.shortDate) << c.date;
        EXPECT_EQ(s.DateSeparator, c.dateSep) << c.date;
        EXPECT_EQ(s.LongTimeFormat, c.longTime) << c.time;
        EXPECT_EQ(s.TimeSeparator, c.timeSep) << c.time;
    }
}

TEST(FormatSettings, OverrideSubstitutesAndRestores)
{
    const char before = FormatSettings().DecimalSeparator;
    {
        TFormatSettings s;
        s.DecimalSeparator = '#';
        TFormatSettingsOverride override(s);
        EXPECT_EQ(FormatSettings().DecimalSeparator, '#');
    }
    EXPECT_EQ(FormatSettings().DecimalSeparator, before);
}

TEST(FieldTypes, NamesAndProviderTypes)
{
    EXPECT_STREQ(FieldTypeName(ftUnknown), "ftUnknown");
    EXPECT_STREQ(FieldTypeName(ftLargeint), "ftLargeint");
    EXPECT_STREQ(FieldTypeName(ftGuid), "ftGuid");
    EXPECT_STREQ(FieldTypeDisplayName(ftIDispatch), "Dispatch");
    EXPECT_STREQ(FieldTypeDisplayName(ftLargeint), "LargeInt");
    EXPECT_EQ(ftGuid, 35);
    struct { int ado; std::optional<TFieldType> type; } cases[] = {
        {200, ftString}, {129, ftFixedChar}, {202, ftWideString}, {201, ftMemo}, {11, ftBoolean},
        {16, ftSmallint}, {19, ftInteger}, {17, ftWord}, {21, ftLargeint}, {4, ftFloat}, {6, ftBCD},
        {131, ftBCD}, {133, ftDate}, {134, ftTime}, {135, ftDateTime}, {128, ftBytes}, {204, ftVarBytes},
        {205, ftBlob}, {72, ftGuid}, {12, ftVariant}, {136, ftDataSet}, {0, std::nullopt}, {999, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FieldTypeFromAdo(c.ado), c.type) << c.ado;
}
