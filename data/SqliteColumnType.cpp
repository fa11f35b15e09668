#include "SqliteColumnType.h"

#include "ProviderApi.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace {

struct TDeclaration {
    std::string base;   // upper case, blanks collapsed, without the arguments
    int64_t first = -1;  // "(first, second)"; -1 when absent
    int64_t second = -1;
};

TDeclaration Parse(std::string_view declared)
{
    TDeclaration d;
    size_t open = declared.find('(');
    for (char c : declared.substr(0, open)) {
        unsigned char u = static_cast<unsigned char>(c);
        if (std::isspace(u)) {
            if (!d.base.empty() && d.base.back() != ' ')
                d.base += ' ';
        } else {
            d.base += static_cast<char>(std::toupper(u));
        }
    }
    while (!d.base.empty() && d.base.back() == ' ')
        d.base.pop_back();
    if (open != std::string_view::npos) {
        std::string args(declared.substr(open + 1));
        char* end = nullptr;
        long long first = std::strtoll(args.c_str(), &end, 10);
        if (end != args.c_str()) {
            d.first = std::max(0LL, first);
            while (*end == ' ')
                ++end;
            if (*end == ',') {
                const char* start = end + 1;
                long long second = std::strtoll(start, &end, 10);
                if (end != start)
                    d.second = second;
            }
        }
    }
    return d;
}

bool Has(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

bool Is(const std::string& s, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return s == n; });
}

TSqliteColumnType Character(const TDeclaration& d, bool national)
{
    const bool fixed = !Has(d.base, "VAR") && !Has(d.base, "VARYING");
    if (d.first <= 0 || d.first > SqliteMaxStringSize)
        return {national ? adLongVarWChar : adLongVarChar};
    if (fixed)
        return {national ? adWChar : adChar, d.first};
    return {national ? adVarWChar : adVarChar, d.first};
}

TSqliteColumnType FromStorage(TSqliteStorage storage)
{
    switch (storage) {
    case TSqliteStorage::Integer: return {adBigInt};
    case TSqliteStorage::Float: return {adDouble};
    case TSqliteStorage::Blob: return {adLongVarBinary};
    default: return {adVarChar, SqliteUndeclaredStringSize};
    }
}

} // namespace

TSqliteColumnType SqliteColumnType(std::string_view declared, TSqliteStorage firstValue, bool autoIncrement)
{
    const TDeclaration d = Parse(declared);
    const std::string& b = d.base;
    if (b.empty())
        return FromStorage(firstValue);
    if (Has(b, "BOOL") || b == "BIT")
        return {adBoolean};
    if (b == "DATE")
        return {adDBDate};
    if (b == "TIME")
        return {adDBTime};
    if (Is(b, {"DATETIME", "TIMESTAMP", "SMALLDATETIME", "DATETIME2"}))
        return {adDBTimeStamp};
    if (Is(b, {"UUID", "GUID", "UNIQUEIDENTIFIER"}))
        return {adGUID};
    if (Is(b, {"MONEY", "SMALLMONEY", "CURRENCY"})) {
        // Four decimals, as the fixed-point value keeps them.
        TSqliteColumnType t{adCurrency};
        t.Precision = 19;
        t.Scale = 4;
        return t;
    }
    if (Has(b, "INT")) {
        // SQLite keeps 64-bit integers in any integer column.
        if (autoIncrement)
            return {adInteger};
        if (b == "SMALLINT")
            return {adSmallInt};
        if (b == "TINYINT")
            return {adTinyInt};
        return {adBigInt};
    }
    if (Has(b, "CHAR")) {
        const bool national = b[0] == 'N' || Has(b, "NATIONAL") || Has(b, "NATIVE");
        return Character(d, national);
    }
    if (Has(b, "TEXT") || Has(b, "CLOB"))
        return {b[0] == 'N' ? adLongVarWChar : adLongVarChar};
    if (Has(b, "BINARY")) {
        if (d.first <= 0)
            return {adLongVarBinary};
        return {Has(b, "VAR") ? adVarBinary : adBinary, d.first};
    }
    if (Has(b, "BLOB") || b == "IMAGE" || b == "BYTEA")
        return {adLongVarBinary};
    if (Has(b, "REAL") || Has(b, "FLOA") || Has(b, "DOUB"))
        return {adDouble};
    if (Is(b, {"NUMERIC", "DECIMAL", "NUMBER", "DEC"})) {
        // Without a precision SQLite keeps a 64-bit integer or a double of
        // any scale there: no fixed scale keeps every such value, a floating
        // field does (it shows integers as stored).
        if (d.first < 0)
            return {adDouble};
        TSqliteColumnType t{adNumeric};
        t.Precision = static_cast<uint8_t>(std::min<int64_t>(d.first, 255));
        t.Scale = static_cast<int8_t>(d.second < 0 ? 0 : std::min<int64_t>(d.second, 127));
        return t;
    }
    return FromStorage(firstValue);
}
