#include "OdbcColumns.h"

#include "CodePage.h"
#include "OdbcDiagnostics.h"

#include <sqlext.h>
#include <sqlucode.h>

int OdbcSqlTypeToAdo(SQLSMALLINT sqlType, bool isUnsigned)
{
    switch (sqlType) {
    case SQL_CHAR: return adChar;
    case SQL_VARCHAR: return adVarChar;
    case SQL_LONGVARCHAR: return adLongVarChar;
    case SQL_WCHAR: return adWChar;
    case SQL_WVARCHAR: return adVarWChar;
    case SQL_WLONGVARCHAR: return adLongVarWChar;
    case SQL_DECIMAL:
    case SQL_NUMERIC: return adNumeric;
    case SQL_BIT: return adBoolean;
    case SQL_TINYINT: return isUnsigned ? adUnsignedTinyInt : adTinyInt;
    case SQL_SMALLINT: return isUnsigned ? adUnsignedSmallInt : adSmallInt;
    case SQL_INTEGER: return isUnsigned ? adUnsignedInt : adInteger;
    case SQL_BIGINT: return isUnsigned ? adUnsignedBigInt : adBigInt;
    case SQL_REAL: return adSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE: return adDouble;
    case SQL_BINARY: return adBinary;
    case SQL_VARBINARY: return adVarBinary;
    case SQL_LONGVARBINARY: return adLongVarBinary;
    case SQL_TYPE_DATE:
    case SQL_DATE: return adDBDate;
    case SQL_TYPE_TIME:
    case SQL_TIME: return adDBTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return adDBTimeStamp;
    case SQL_GUID: return adGUID;
    default: return adEmpty;
    }
}

TOdbcValueKind OdbcValueKind(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: return TOdbcValueKind::Integer;
    case SQL_REAL: return TOdbcValueKind::Single;
    case SQL_FLOAT:
    case SQL_DOUBLE: return TOdbcValueKind::Double;
    case SQL_DECIMAL:
    case SQL_NUMERIC: return TOdbcValueKind::Decimal;
    case SQL_GUID: return TOdbcValueKind::Guid;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: return TOdbcValueKind::Binary;
    default: return TOdbcValueKind::Text;
    }
}

namespace {

std::string WideToProgram(const SQLWCHAR* text, SQLSMALLINT lengthInBytesOrChars, bool inBytes)
{
    size_t count = lengthInBytesOrChars < 0 ? 0 : static_cast<size_t>(lengthInBytesOrChars);
    if (inBytes)
        count /= sizeof(SQLWCHAR);
    return CodePage::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), count));
}

// A numeric column attribute; nullopt when the driver does not report it.
std::optional<SQLLEN> NumericAttribute(SQLHSTMT statement, SQLUSMALLINT column, SQLUSMALLINT field)
{
    SQLLEN value = 0;
    if (!SQL_SUCCEEDED(SQLColAttributeW(statement, column, field, nullptr, 0, nullptr, &value)))
        return std::nullopt;
    return value;
}

std::string TextAttribute(SQLHSTMT statement, SQLUSMALLINT column, SQLUSMALLINT field)
{
    SQLWCHAR buffer[256];
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLColAttributeW(statement, column, field, buffer, sizeof buffer, &length, nullptr)))
        return {};
    length = std::min<SQLSMALLINT>(length, sizeof buffer - sizeof(SQLWCHAR));
    return WideToProgram(buffer, length, true);
}

bool IsSizedType(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_CHAR: case SQL_VARCHAR: case SQL_LONGVARCHAR:
    case SQL_WCHAR: case SQL_WVARCHAR: case SQL_WLONGVARCHAR:
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY:
        return true;
    default:
        return false;
    }
}

} // namespace

std::vector<TOdbcColumn> DescribeOdbcColumns(SQLHSTMT statement, SQLSMALLINT columnCount)
{
    std::vector<TOdbcColumn> columns;
    columns.reserve(static_cast<size_t>(columnCount));
    for (SQLUSMALLINT number = 1; number <= static_cast<SQLUSMALLINT>(columnCount); ++number) {
        SQLWCHAR name[512];
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT sqlType = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        OdbcCheck(SQLDescribeColW(statement, number, name, sizeof name / sizeof name[0], &nameLength, &sqlType,
                                  &size, &digits, &nullable),
                  SQL_HANDLE_STMT, statement, "Cannot describe a result column");
        nameLength = std::min<SQLSMALLINT>(nameLength, sizeof name / sizeof name[0] - 1);

        TOdbcColumn column;
        column.SqlType = sqlType;
        column.ColumnSize = size;
        column.Kind = OdbcValueKind(sqlType);
        TColumnInfo& info = column.Info;
        info.Name = WideToProgram(name, nameLength, false);
        bool isUnsigned = NumericAttribute(statement, number, SQL_DESC_UNSIGNED).value_or(SQL_FALSE) == SQL_TRUE;
        info.AdoType = OdbcSqlTypeToAdo(sqlType, isUnsigned);
        if (IsSizedType(sqlType))
            info.DefinedSize = static_cast<int64_t>(size);
        if (column.Kind == TOdbcValueKind::Decimal) {
            info.Precision = static_cast<uint8_t>(size);
            info.Scale = static_cast<int8_t>(digits);
        }
        if (auto autoIncrement = NumericAttribute(statement, number, SQL_DESC_AUTO_UNIQUE_VALUE))
            info.AutoIncrement = *autoIncrement == SQL_TRUE;
        info.BaseTable = TextAttribute(statement, number, SQL_DESC_BASE_TABLE_NAME);
        info.BaseColumn = TextAttribute(statement, number, SQL_DESC_BASE_COLUMN_NAME);
        columns.push_back(std::move(column));
    }
    return columns;
}
