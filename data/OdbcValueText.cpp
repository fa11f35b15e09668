#include "OdbcValueText.h"

namespace {

// Appends the value as a fixed number of decimal digits (formatting by hand:
// a large result has one of these per value).
void AppendDigits(std::string& text, unsigned value, int digits)
{
    char buffer[10];
    for (int i = digits - 1; i >= 0; --i) {
        buffer[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    text.append(buffer, static_cast<size_t>(digits));
}

void AppendDate(std::string& text, SQLSMALLINT year, SQLUSMALLINT month, SQLUSMALLINT day)
{
    if (year < 0) {
        text += '-';
        year = static_cast<SQLSMALLINT>(-year);
    }
    AppendDigits(text, static_cast<unsigned>(year), year > 9999 ? 5 : 4);
    text += '-';
    AppendDigits(text, month, 2);
    text += '-';
    AppendDigits(text, day, 2);
}

void AppendTime(std::string& text, SQLUSMALLINT hour, SQLUSMALLINT minute, SQLUSMALLINT second)
{
    AppendDigits(text, hour, 2);
    text += ':';
    AppendDigits(text, minute, 2);
    text += ':';
    AppendDigits(text, second, 2);
}

const char kHex[] = "0123456789ABCDEF";

void AppendHex(std::string& text, unsigned long value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += kHex[(value >> shift) & 0xF];
}

} // namespace

std::string OdbcDateText(const SQL_DATE_STRUCT& value)
{
    std::string text;
    AppendDate(text, value.year, value.month, value.day);
    return text;
}

std::string OdbcTimeText(const SQL_TIME_STRUCT& value)
{
    std::string text;
    AppendTime(text, value.hour, value.minute, value.second);
    return text;
}

std::string OdbcTimestampText(const SQL_TIMESTAMP_STRUCT& value)
{
    std::string text;
    text.reserve(23);
    AppendDate(text, value.year, value.month, value.day);
    text += ' ';
    AppendTime(text, value.hour, value.minute, value.second);
    // The fraction is in nanoseconds; the dataset keeps milliseconds.
    if (unsigned milliseconds = value.fraction / 1000000u; milliseconds != 0) {
        text += '.';
        AppendDigits(text, milliseconds, 3);
    }
    return text;
}

std::string OdbcGuidText(const SQLGUID& value)
{
    std::string text = "{";
    AppendHex(text, value.Data1, 8);
    text += '-';
    AppendHex(text, value.Data2, 4);
    text += '-';
    AppendHex(text, value.Data3, 4);
    text += '-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text += '-';
        AppendHex(text, value.Data4[i], 2);
    }
    return text + "}";
}
