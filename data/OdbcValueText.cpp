#include "OdbcValueText.h"

#include <cstdio>

std::string OdbcDateText(const SQL_DATE_STRUCT& value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", value.year, value.month, value.day);
    return text;
}

std::string OdbcTimeText(const SQL_TIME_STRUCT& value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", value.hour, value.minute, value.second);
    return text;
}

std::string OdbcTimestampText(const SQL_TIMESTAMP_STRUCT& value)
{
    char text[48];
    // The fraction is in nanoseconds; the dataset keeps milliseconds.
    unsigned milliseconds = value.fraction / 1000000u;
    if (milliseconds != 0)
        std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u.%03u", value.year, value.month, value.day,
                      value.hour, value.minute, value.second, milliseconds);
    else
        std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u", value.year, value.month, value.day,
                      value.hour, value.minute, value.second);
    return text;
}

std::string OdbcGuidText(const SQLGUID& value)
{
    char text[48];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(value.Data1), value.Data2, value.Data3, value.Data4[0], value.Data4[1],
                  value.Data4[2], value.Data4[3], value.Data4[4], value.Data4[5], value.Data4[6], value.Data4[7]);
    return text;
}
