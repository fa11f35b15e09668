#pragma once
// Texts the user types, read by the user's format settings into the values a
// dataset stores: numbers with the locale's decimal separator, dates and times
// in the order of the short date format. Each returns nothing for a text that
// is not such a value.

#include "FormatSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

std::optional<int64_t> ParseIntegerText(std::string_view text);
std::optional<double> ParseFloatText(std::string_view text, const TFormatSettings& settings);
// A decimal number as plain text with "." ("-12.5"), as the store keeps it.
std::optional<std::string> ParseDecimalText(std::string_view text, const TFormatSettings& settings);
// ISO texts: "YYYY-MM-DD", "HH:MM:SS", "YYYY-MM-DD HH:MM:SS".
std::optional<std::string> ParseDateText(std::string_view text, const TFormatSettings& settings);
std::optional<std::string> ParseTimeText(std::string_view text, const TFormatSettings& settings);
std::optional<std::string> ParseDateTimeText(std::string_view text, const TFormatSettings& settings);
std::optional<bool> ParseBooleanText(std::string_view text);
