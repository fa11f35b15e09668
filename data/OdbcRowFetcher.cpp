#include "OdbcRowFetcher.h"

#include "CodePage.h"
#include "OdbcDiagnostics.h"
#include "OdbcHandle.h"
#include "OdbcValueText.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <clocale>
#include <stdexcept>
#include <string_view>

namespace {

// Wide text in the program code page. Most text is ASCII, which every code
// page the program runs in writes as itself, so that needs no converter.
std::string ProgramText(std::u16string_view text)
{
    std::string narrow(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0x80)
            return CodePage::FromUtf16(text);
        narrow[i] = static_cast<char>(text[i]);
    }
    return narrow;
}

// Drivers write decimals as text with the C library's decimal point
// (psqlODBC writes "12,50" under a decimal-comma locale); the dataset reads
// them with ".".
std::string PlainDecimal(std::string_view text)
{
    const std::string_view point = std::localeconv()->decimal_point;
    const size_t at = point.empty() || point == "." ? std::string_view::npos : text.find(point);
    if (at == std::string_view::npos)
        return std::string(text);
    std::string plain(text.substr(0, at));
    plain += '.';
    plain.append(text.substr(at + point.size()));
    return plain;
}

// Reads the values of the current row with SQLGetData, long values in pieces.
class TGetDataReader {
public:
    explicit TGetDataReader(SQLHSTMT statement) : statement_(statement), piece_(8192, '\0') {}

    void PutValue(SQLUSMALLINT number, const TOdbcColumn& column, TRowReceiver& receiver)
    {
        switch (column.Kind) {
        case TOdbcValueKind::Integer:
            PutFixed<SQLBIGINT>(number, SQL_C_SBIGINT, receiver, [&](SQLBIGINT v) { receiver.PutInteger(v); });
            return;
        case TOdbcValueKind::Single:
            // Widened as it is: 0.1 in single precision reads 0.100000001490116.
            PutFixed<SQLREAL>(number, SQL_C_FLOAT, receiver, [&](SQLREAL v) { receiver.PutFloat(v); });
            return;
        case TOdbcValueKind::Double:
            PutFixed<SQLDOUBLE>(number, SQL_C_DOUBLE, receiver, [&](SQLDOUBLE v) { receiver.PutFloat(v); });
            return;
        case TOdbcValueKind::Guid:
            PutFixed<SQLGUID>(number, SQL_C_GUID, receiver, [&](const SQLGUID& v) { receiver.PutText(OdbcGuidText(v)); });
            return;
        case TOdbcValueKind::Decimal:
            if (GetLong(number, SQL_C_CHAR, 1))
                receiver.PutText(PlainDecimal(value_));
            else
                receiver.PutNull();
            return;
        case TOdbcValueKind::Binary:
            if (GetLong(number, SQL_C_BINARY, 0))
                receiver.PutBytes(value_);
            else
                receiver.PutNull();
            return;
        case TOdbcValueKind::Text:
            PutText(number, column, receiver);
            return;
        }
    }

private:
    // Character data comes as UTF-16. Some ANSI drivers (psqlODBC's) cannot
    // convert their 8-bit columns to it; those are read as 8-bit text, which
    // such a driver delivers in the client's code page.
    void PutText(SQLUSMALLINT number, const TOdbcColumn& column, TRowReceiver& receiver)
    {
        if (narrowColumns_.size() <= number)
            narrowColumns_.resize(number + 1u, false);
        if (!narrowColumns_[number]) {
            try {
                if (GetLong(number, SQL_C_WCHAR, sizeof(SQLWCHAR)))
                    receiver.PutText(ProgramText(std::u16string_view(
                        reinterpret_cast<const char16_t*>(value_.data()), value_.size() / sizeof(char16_t))));
                else
                    receiver.PutNull();
                return;
            } catch (const std::runtime_error&) {
                if (!IsNarrowCharacterType(column.SqlType) || !value_.empty())
                    throw;
                narrowColumns_[number] = true;
            }
        }
        if (GetLong(number, SQL_C_CHAR, 1))
            receiver.PutText(value_);
        else
            receiver.PutNull();
    }

    static bool IsNarrowCharacterType(SQLSMALLINT sqlType)
    {
        return sqlType == SQL_CHAR || sqlType == SQL_VARCHAR || sqlType == SQL_LONGVARCHAR;
    }

    // Reads a fixed-size value and hands it to put, or a null to the receiver.
    template <typename T, typename TPut>
    void PutFixed(SQLUSMALLINT number, SQLSMALLINT cType, TRowReceiver& receiver, TPut put)
    {
        T value{};
        SQLLEN indicator = 0;
        OdbcCheck(SQLGetData(statement_, number, cType, &value, sizeof value, &indicator), SQL_HANDLE_STMT,
                  statement_, "Cannot read a column value");
        if (indicator == SQL_NULL_DATA)
            receiver.PutNull();
        else
            put(value);
    }

    // Reads a whole variable-length value into value_ in pieces; false when
    // it is null. The driver ends every piece but the last unterminated one
    // with a terminator of the given size.
    bool GetLong(SQLUSMALLINT number, SQLSMALLINT cType, size_t terminator)
    {
        value_.clear();
        for (;;) {
            SQLLEN indicator = 0;
            SQLRETURN rc = SQLGetData(statement_, number, cType, piece_.data(), static_cast<SQLLEN>(piece_.size()),
                                      &indicator);
            if (rc == SQL_NO_DATA)
                return true;
            OdbcCheck(rc, SQL_HANDLE_STMT, statement_, "Cannot read a column value");
            if (indicator == SQL_NULL_DATA)
                return false;
            size_t room = piece_.size() - terminator;
            bool whole = indicator != SQL_NO_TOTAL && static_cast<size_t>(indicator) <= room;
            size_t length = whole ? static_cast<size_t>(indicator) : room;
            value_.append(piece_.data(), length);
            if (whole)
                return true;
        }
    }

    SQLHSTMT statement_;
    std::string piece_;
    std::string value_;
    std::vector<bool> narrowColumns_;
};

// The rows of a statement's current result, fetched row by row with SQLFetch.
class TOdbcCursor final : public TProviderCursor {
public:
    TOdbcCursor(TOdbcHandle statement, std::vector<TOdbcColumn> columns)
        : statement_(std::move(statement)), columns_(std::move(columns)), reader_(statement_.Get())
    {
    }

    bool Fetch(TRowReceiver& receiver, int maxRows) override
    {
        SQLHSTMT statement = statement_.Get();
        for (int n = 0; n < maxRows && !ended_; ++n) {
            SQLRETURN rc = SQLFetch(statement);
            if (rc == SQL_NO_DATA) {
                ended_ = true;
                break;
            }
            OdbcCheck(rc, SQL_HANDLE_STMT, statement, "Cannot fetch a row");
            receiver.BeginRow();
            for (size_t i = 0; i < columns_.size(); ++i)
                reader_.PutValue(static_cast<SQLUSMALLINT>(i + 1), columns_[i], receiver);
        }
        return !ended_;
    }

private:
    TOdbcHandle statement_;
    std::vector<TOdbcColumn> columns_;
    TGetDataReader reader_;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<TProviderCursor> OpenOdbcCursor(TOdbcHandle statement, SQLSMALLINT columnCount, TRowReceiver& receiver)
{
    std::vector<TOdbcColumn> columns = DescribeOdbcColumns(statement.Get(), columnCount);
    std::vector<TColumnInfo> infos;
    infos.reserve(columns.size());
    for (const TOdbcColumn& column : columns)
        infos.push_back(column.Info);
    receiver.SetColumns(std::move(infos));
    return std::make_unique<TOdbcCursor>(std::move(statement), std::move(columns));
}
