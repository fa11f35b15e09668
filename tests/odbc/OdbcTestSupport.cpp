#include "OdbcTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

bool TReceived::operator==(const TReceived& other) const
{
    if (Kind != other.Kind)
        return false;
    switch (Kind) {
    case Null: return true;
    case Integer: return Int == other.Int;
    case Float: return Real == other.Real;
    default: return Data == other.Data;
    }
}

std::ostream& operator<<(std::ostream& out, const TReceived& cell)
{
    switch (cell.Kind) {
    case TReceived::Null: return out << "<null>";
    case TReceived::Integer: return out << "int " << cell.Int;
    case TReceived::Float: return out << "float " << testing::PrintToString(cell.Real);
    case TReceived::Text: return out << "text " << testing::PrintToString(cell.Data);
    case TReceived::Bytes: return out << "bytes " << testing::PrintToString(cell.Data) << " (" << cell.Data.size() << ")";
    }
    return out;
}

size_t TRecordingReceiver::ColumnIndex(const std::string& name) const
{
    for (size_t i = 0; i < Columns.size(); ++i)
        if (Columns[i].Name == name)
            return i;
    ADD_FAILURE() << "no column " << name;
    return 0;
}

std::vector<std::string> TRecordingReceiver::ColumnTexts(const std::string& name) const
{
    size_t index = ColumnIndex(name);
    std::vector<std::string> texts;
    for (const auto& row : Rows) {
        const TReceived& cell = row.at(index);
        texts.push_back(cell.Kind == TReceived::Null      ? "<null>"
                        : cell.Kind == TReceived::Integer ? std::to_string(cell.Int)
                                                      : cell.Data);
    }
    return texts;
}

std::string PgSocketDir()
{
    return QUILLET_PG_SOCKET_DIR;
}

int PgPort()
{
    return QUILLET_PG_PORT;
}

std::string PgConnectionString(const std::string& extra)
{
    return "DRIVER={PostgreSQL Unicode};SERVER=" + PgSocketDir() + ";PORT=" + std::to_string(PgPort())
           + ";DATABASE=quillet;UID=postgres;" + extra;
}

std::string SqliteOdbcConnectionString(const std::string& file)
{
    return "Driver=SQLite3;Database=" + file + ";";
}

std::unique_ptr<TProviderConnection> OpenOdbc(const std::string& connectionString)
{
    TInitProperties props;
    props.Set("Provider", "MSDASQL.1");
    props.Set("Extended Properties", connectionString);
    return OpenOdbcConnection(props);
}

std::string TempPath(const std::string& name)
{
    std::filesystem::path dir = std::filesystem::path(QUILLET_ODBC_TEMP_DIR);
    std::filesystem::create_directories(dir);
    std::filesystem::path path = dir / name;
    std::filesystem::remove(path);
    return path.string();
}
