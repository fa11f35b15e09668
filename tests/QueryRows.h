#pragma once
// The rows of a query read on a connection of its own (so a test sees what the
// database holds, not what a dataset under test keeps): each row's value texts
// joined by '|'.

#include "Connection.h"
#include "DataSet.h"

#include <string>
#include <vector>

inline std::vector<std::string> QueryRows(const std::string& connectionString, const std::string& sql)
{
    TConnection connection("check");
    connection.SetConnectionString(connectionString);
    TDataSet rows(connection, "check");
    rows.SetCommandText(sql);
    rows.Open();
    std::vector<std::string> texts;
    for (; !rows.Eof(); rows.Next()) {
        std::string row;
        for (int i = 0; i < rows.FieldCount(); ++i)
            row += (i ? "|" : "") + rows.Fields(i).ValueText();
        texts.push_back(row);
    }
    return texts;
}
