#include "ExportCommand.h"

#include "IniFile.h"
#include "Statements.h"

#include <stdexcept>

TExportCommand ParseExportCommand(std::string_view text)
{
    TExportCommand command;
    command.Table = KeywordValue(text, "FROM");
    command.FileName = KeywordValue(text, "TO");
    const std::string by = KeywordValue(text, "BY");
    const std::optional<int> pageSize = ParseIniInteger(by);
    if (!pageSize)
        throw std::runtime_error("'" + by + "' is not a valid integer value");
    command.Quote = KeywordValue(text, "QUOTE");
    // A page size below 1 would never move the lower bound up.
    if (*pageSize < 1)
        throw std::runtime_error("'" + by + "' is not a valid page size");
    command.PageSize = *pageSize;
    return command;
}

std::string ExportPageQuery(const std::string& table, int64_t lowerBound, int pageSize)
{
    return "SELECT * FROM " + table + " WHERE RECORD_NUMBER > " + std::to_string(lowerBound)
           + " AND RECORD_NUMBER <= " + std::to_string(lowerBound + pageSize);
}

std::string ExportLastRecordQuery(const std::string& table)
{
    return "SELECT MAX(RECORD_NUMBER) FROM " + table;
}
