// The ODBC connection string made of a data link's properties, and the
// trimming of driver messages.

#include "OdbcConnectionString.h"
#include "OdbcDiagnostics.h"

#include <gtest/gtest.h>

namespace {

struct TConnectionCase {
    const char* extended;
    const char* dataSource;
    const char* user;
    const char* password;
    const char* catalog;
    const char* expected;
};

TEST(OdbcConnectionString, FromDataLinkProperties)
{
    const TConnectionCase cases[] = {
        {"DRIVER={PostgreSQL Unicode};SERVER=h;", "", "", "", "", "DRIVER={PostgreSQL Unicode};SERVER=h;"},
        {"", "MyDsn", "", "", "", "DSN=MyDsn;"},
        {"", "MyDsn", "u", "p", "db", "DSN=MyDsn;UID=u;PWD=p;DATABASE=db;"},
        {"Fetch=100", "MyDsn", "", "", "", "DSN=MyDsn;Fetch=100"},
        // The string's own DSN or driver wins over Data Source, its own UID over User ID.
        {"DSN=Other;", "MyDsn", "", "", "", "DSN=Other;"},
        {"Driver=SQLite3;Database=/x.db", "ignored", "", "", "", "Driver=SQLite3;Database=/x.db"},
        {"DRIVER={D};uid = own;", "", "u", "p", "", "DRIVER={D};uid = own;PWD=p;"},
        // A key inside a braced value is no key.
        {"DRIVER={D};PWD={UID=x;y};", "", "u", "", "", "DRIVER={D};PWD={UID=x;y};UID=u;"},
        // Values that would end or confuse the string go in braces.
        {"DRIVER={D}", "", "", "a;b}c", "", "DRIVER={D};PWD={a;b}}c};"},
        {"DRIVER={D};", "", " lead", "", "", "DRIVER={D};UID={ lead};"},
    };
    for (const auto& c : cases) {
        TInitProperties props;
        props.Set("Extended Properties", c.extended);
        props.Set("Data Source", c.dataSource);
        props.Set("User ID", c.user);
        props.Set("Password", c.password);
        props.Set("Initial Catalog", c.catalog);
        EXPECT_EQ(OdbcConnectionString(props), c.expected) << c.extended << " / " << c.dataSource;
    }
}

TEST(OdbcDiagnostics, TrimsTrailingBlanksControlsAndFullStops)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Error while executing the query.", "Error while executing the query"},
        {"ERROR: x;\nError while executing the query \r\n.. ", "ERROR: x;\nError while executing the query"},
        {"v1.2 failed\t", "v1.2 failed"},
        {"...", ""},
        {"", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(TrimProviderMessage(text), expected) << text;
}

} // namespace
