#pragma once
// The text forms of ODBC date, time, timestamp and GUID values that the
// receiver takes.

#include <sql.h>
#include <sqltypes.h>

#include <string>

std::string OdbcDateText(const SQL_DATE_STRUCT& value);        // "yyyy-mm-dd"
std::string OdbcTimeText(const SQL_TIME_STRUCT& value);        // "hh:mm:ss"
std::string OdbcTimestampText(const SQL_TIMESTAMP_STRUCT& value);  // "yyyy-mm-dd hh:mm:ss[.fff]"
std::string OdbcGuidText(const SQLGUID& value);                // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
