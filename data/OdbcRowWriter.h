#pragma once
// Writing one row change back through an ODBC connection, and reading the
// primary key of a table from the catalogue.

#include "ProviderApi.h"

#include <sql.h>

#include <optional>
#include <string>
#include <vector>

std::vector<std::string> OdbcPrimaryKey(SQLHDBC connection, const std::string& table);
// Runs the change with autocommit off and commits it only when it touched
// exactly one row. Identifiers are quoted with `quote` (none when empty).
void OdbcWriteRow(SQLHDBC connection, const TRowWrite& write, const std::string& quote);
