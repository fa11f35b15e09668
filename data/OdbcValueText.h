#pragma once
// The text form of ODBC GUID values that the receiver takes.

#include <sql.h>
#include <sqltypes.h>

#include <string>

std::string OdbcGuidText(const SQLGUID& value);                // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
