#pragma once
// A SQLite database made from a script, with a data link file that names it.

#include <string>

#include "../data/TestDatabase.h"

// Creates <folder><name>.db from the script and <folder><name>.udl beside it
// (as Windows writes it); returns the data link file's name.
inline std::string MakeSqliteLink(const std::string& folder, const std::string& name, const std::string& sql)
{
    MakeDatabase(folder + name + ".db", sql);
    const std::string udl = folder + name + ".udl";
    WriteBytes(udl, Utf16Udl("Provider=SQLite;Data Source=" + name + ".db"));
    return udl;
}
