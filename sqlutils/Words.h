#pragma once
// Trimming, word extraction and blank-line removal on 8-bit text.
// Trimming removes the characters with codes 0 to 32 from both ends.

#include <bitset>
#include <string>
#include <string_view>

#include "TextLines.h"

// A set of 8-bit characters (all 256 codes may be members).
class TCharSet {
public:
    TCharSet() = default;
    explicit TCharSet(std::string_view members);

    void Add(char c) { bits_.set(static_cast<unsigned char>(c)); }
    bool Contains(char c) const { return bits_.test(static_cast<unsigned char>(c)); }

private:
    std::bitset<256> bits_;
};

bool IsBlankChar(char c);
std::string Trim(std::string_view text);

// Words are maximal runs of characters outside the delimiter set.
// WordStart gives the 1-based position of the first character of the n-th
// word, or 0 when there is none (n of 0 or less included); NthWord gives the
// word itself, or the empty string.
int WordStart(int n, std::string_view text, const TCharSet& delimiters);
std::string NthWord(int n, std::string_view text, const TCharSet& delimiters);

// Deletes, in place, every line whose trimmed text is empty.
void RemoveBlankLines(TStringList& lines);
