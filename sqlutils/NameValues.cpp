#include "NameValues.h"

#include "DataSet.h"

std::string ValueOfName(const TStringList& lines, std::string_view name)
{
    for (const std::string& line : lines) {
        const auto equals = line.find('=');
        if (equals != std::string::npos && SameNameNoCase(std::string_view(line).substr(0, equals), name))
            return line.substr(equals + 1);
    }
    return {};
}
