#include "RunnerTexts.h"

#include "Words.h"

#include <cmath>
#include <cstdio>

std::string FileSizeText(uint64_t size)
{
    // The pattern's places from the right: three groups of three, then one.
    constexpr int kPlaces = 10;
    const std::string digits = std::to_string(size);
    const int count = static_cast<int>(digits.size());
    std::string text;
    const int width = std::max(count, kPlaces);
    for (int place = width; place >= 1; --place) {
        // A place left of the number's first digit shows nothing, but the
        // blank before its group is written all the same.
        if (place <= count)
            text += digits[static_cast<size_t>(count - place)];
        if (place > 1 && (place - 1) % 3 == 0)
            text += ' ';
    }
    return text + " bytes";
}

std::string ExecuteTimeText(double seconds, char decimalSeparator)
{
    // Hundredths rounded once, so that the digits never depend on the C locale.
    const auto hundredths = static_cast<long long>(std::llround(seconds * 100));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%lld%c%02lld", hundredths / 100, decimalSeparator, hundredths % 100);
    return std::string("Execute time - ") + buffer + " sec.";
}

std::string ScriptLineStatement(std::string_view line)
{
    std::string statement = Trim(line);
    if (!statement.empty() && statement.back() == ';')
        statement.pop_back();
    return statement;
}
