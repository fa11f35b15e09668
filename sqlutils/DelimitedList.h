#pragma once
// A string list that splits a text at a one-character delimiter into trimmed
// items, and joins its items back with a quote and a separator.

#include <string>
#include <string_view>

#include "TextLines.h"

class TDelimitedList : public TStringList {
public:
    char Delimiter = ';';

    // Replaces the items by the trimmed pieces of the text between delimiters.
    // A delimiter at the start or two in a row give empty items; one at the
    // very end gives none after it. The text ends at its first NUL.
    void Split(std::string_view text);

    // The items, each between two quotes, with the separator between them.
    // Quotes inside items are not escaped. A list of exactly one empty item
    // gives "" (two double quotes), whatever the quote and the separator.
    std::string Join(std::string_view quote, std::string_view separator) const;
};
