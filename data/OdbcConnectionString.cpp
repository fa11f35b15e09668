#include "OdbcConnectionString.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// Whether the connection string has the key (ODBC syntax: key=value pairs
// separated by ';', values possibly in braces).
bool HasKey(const std::string& connection, const std::string& key)
{
    size_t pos = 0;
    while (pos < connection.size()) {
        size_t equals = connection.find('=', pos);
        if (equals == std::string::npos)
            return false;
        std::string name = connection.substr(pos, equals - pos);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        if (Upper(name) == key)
            return true;
        size_t next = equals + 1;
        while (next < connection.size() && connection[next] == ' ')
            ++next;
        if (next < connection.size() && connection[next] == '{') {
            // Inside braces "}}" stands for "}".
            for (++next; next < connection.size(); ++next) {
                if (connection[next] == '}') {
                    if (next + 1 < connection.size() && connection[next + 1] == '}')
                        ++next;
                    else
                        break;
                }
            }
        }
        size_t semicolon = connection.find(';', next);
        if (semicolon == std::string::npos)
            return false;
        pos = semicolon + 1;
    }
    return false;
}

// A value as ODBC wants it: in braces when it holds characters that would
// end or confuse it.
std::string Quoted(const std::string& value)
{
    if (value.find_first_of(";{}=") == std::string::npos && value == value.substr(0, value.find_last_not_of(' ') + 1)
        && (value.empty() || value.front() != ' '))
        return value;
    std::string quoted = "{";
    for (char c : value) {
        quoted += c;
        if (c == '}')
            quoted += '}';
    }
    return quoted + "}";
}

void Append(std::string& connection, const std::string& key, const std::string& value)
{
    if (value.empty() || HasKey(connection, key))
        return;
    if (!connection.empty() && connection.back() != ';')
        connection += ';';
    connection += key + "=" + Quoted(value) + ";";
}

} // namespace

std::string OdbcConnectionString(const TInitProperties& props)
{
    std::string connection = props.Get("Extended Properties");
    std::string dsn = props.Get("Data Source");
    if (!dsn.empty() && !HasKey(connection, "DSN") && !HasKey(connection, "DRIVER") && !HasKey(connection, "FILEDSN"))
        connection = "DSN=" + Quoted(dsn) + (connection.empty() ? ";" : ";" + connection);
    Append(connection, "UID", props.Get("User ID"));
    Append(connection, "PWD", props.Get("Password"));
    Append(connection, "DATABASE", props.Get("Initial Catalog"));
    return connection;
}
