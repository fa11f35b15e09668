#pragma once
// The EXPORT command typed into the editor:
//   EXPORT FROM <table> TO <file> BY <page size> QUOTE <quote>
// Keywords match in any letter case, each with a blank before and after it;
// a value runs to the next blank or line break.

#include <cstdint>
#include <string>
#include <string_view>

struct TExportCommand {
    std::string Table;     // in the page queries and the INSERT statements
    std::string FileName;  // the script to write
    int PageSize = 0;      // at least 1
    std::string Quote;     // around the column names; "[" is closed by "]"
};

// Reads the values in the order FROM, TO, BY, QUOTE. Throws the error of
// KeywordValue for the first missing keyword, "'<value>' is not a valid
// integer value" for a BY that is not an integer and "'<value>' is not a
// valid page size" for one below 1.
TExportCommand ParseExportCommand(std::string_view text);

// The query of the page whose record numbers lie above lowerBound and at most
// pageSize higher.
std::string ExportPageQuery(const std::string& table, int64_t lowerBound, int pageSize);

// The query for the highest record number of the table.
std::string ExportLastRecordQuery(const std::string& table);
