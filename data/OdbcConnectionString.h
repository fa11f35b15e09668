#pragma once
// Builds the ODBC connection string of a data link's initialisation
// properties.

#include "ProviderApi.h"

#include <string>

// "Extended Properties" is the driver's connection string; "Data Source"
// names a DSN when that string names neither a DSN nor a driver; "User ID",
// "Password" and "Initial Catalog" become UID, PWD and DATABASE unless the
// string sets them already (in ODBC the first occurrence of a key wins).
std::string OdbcConnectionString(const TInitProperties& props);
