#include "CommandLine.h"

#include <string_view>

namespace {

constexpr std::string_view Usage =
    "Usage: quillet [-udl FILE | -task FILE]\n"
    "       quillet --help | --version\n"
    "\n"
    "Quillet is a desktop SQL console. Name a data link file (.udl), connect,\n"
    "browse the database, run SQL and export the result as an INSERT script,\n"
    "a CREATE TABLE script or '|'-separated text.\n"
    "\n"
    "  -udl FILE    start connected to the data link file FILE\n"
    "  -task FILE   run the task file FILE and close: connect to UDL, run SQL and\n"
    "               write its rows as INSERT statements to DestFile\n"
    "               (Name=Value lines UDL, SQL, Cp866, DestFile, PutDeleteBeforeInserts);\n"
    "               exit status 0 when it succeeded, 1 when it failed\n"
    "  --help       print this help and exit\n"
    "  --version    print the version and exit\n"
    "\n"
    "A switch counts only when it is written exactly so and followed by one file\n"
    "name; any other command line starts the window and is otherwise ignored.\n"
    "See quillet(1) and the help page behind the About button.\n";

} // namespace

std::optional<std::string> InformationRequested(int argc, const char* const argv[])
{
    if (argc != 2)
        return std::nullopt;
    const std::string_view parameter = argv[1];
    if (parameter == "--help")
        return std::string(Usage);
    if (parameter == "--version")
        return "quillet " QUILLET_VERSION "\n";
    return std::nullopt;
}
