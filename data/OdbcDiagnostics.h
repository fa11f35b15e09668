#pragma once
// Reads the diagnostic records of an ODBC handle into the message the user
// sees, and turns failed calls into exceptions.

#include <sql.h>

#include <string>
#include <vector>

// The text of every diagnostic record of the handle, with trailing blanks,
// control characters and full stops removed, joined as JoinDiagnosticRecords
// does. Empty when the handle has no records.
std::string OdbcDiagnosticText(SQLSMALLINT handleType, SQLHANDLE handle);

// The records' texts one line after the other, leaving out empty lines and
// lines that repeat an earlier one exactly (psqlODBC repeats libpq's "server
// closed the connection unexpectedly" for every attempt).
std::string JoinDiagnosticRecords(const std::vector<std::string>& records);

// Throws std::runtime_error with the handle's diagnostic text, or with the
// fallback when there is none.
[[noreturn]] void OdbcThrow(SQLSMALLINT handleType, SQLHANDLE handle, const char* fallback);

// Throws as OdbcThrow when the return code is not a success.
inline void OdbcCheck(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char* fallback)
{
    if (!SQL_SUCCEEDED(rc))
        OdbcThrow(handleType, handle, fallback);
}

// Removes trailing blanks, control characters and full stops.
std::string TrimProviderMessage(std::string text);
