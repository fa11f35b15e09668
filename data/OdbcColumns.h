#pragma once
// Describes the columns of an ODBC result: the ADO type of each SQL type and
// the C type its values are fetched as.

#include "ProviderApi.h"

#include <sql.h>

#include <vector>

// How the values of a column are fetched and handed to the receiver.
enum class TOdbcValueKind {
    // SQL_C_WCHAR, converted to the program code page. Dates and times too:
    // the dataset reads their ISO text and keeps what it cannot read
    // (infinity, BC, years past 9999) as the driver wrote it, where a date
    // structure would hold some other date.
    Text,
    Integer,    // SQL_C_SBIGINT
    Single,     // SQL_C_FLOAT, widened to double
    Double,     // SQL_C_DOUBLE
    Decimal,    // SQL_C_CHAR, the driver's plain decimal text
    Guid,       // SQL_C_GUID, as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    Binary,     // SQL_C_BINARY
};

struct TOdbcColumn {
    TColumnInfo Info;
    SQLSMALLINT SqlType = 0;
    SQLULEN ColumnSize = 0;
    TOdbcValueKind Kind = TOdbcValueKind::Text;
};

// The ADO type code of an ODBC SQL type; adEmpty for a type without one.
int OdbcSqlTypeToAdo(SQLSMALLINT sqlType, bool isUnsigned);

// The fetch kind of an ODBC SQL type.
TOdbcValueKind OdbcValueKind(SQLSMALLINT sqlType);

// Describes every column of the statement's current result.
std::vector<TOdbcColumn> DescribeOdbcColumns(SQLHSTMT statement, SQLSMALLINT columnCount);
