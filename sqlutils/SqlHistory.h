#pragma once
// The query history: every statement text run from the editor, oldest first.
// Entries are only ever appended; duplicates are kept. In its file each entry
// is its lines followed by a separator line "/**/".
//
// An entry is kept as its entry text, each line followed by CR LF, so that an
// entry of many short lines costs no more than its bytes.

#include <string>
#include <string_view>
#include <vector>

#include "TextLines.h"

class TSqlHistory {
public:
    static constexpr std::string_view kSeparator = "/**/";

    // Appends an entry; returns its number.
    int Add(const TStringList& entry);
    // Appends the text cut into lines (an empty text gives an entry without lines).
    int AddText(std::string_view text);

    int Count() const { return static_cast<int>(entries_.size()); }
    // The entry's lines. Throws std::runtime_error for an index outside 0 .. Count-1.
    TStringList GetItem(int index) const;
    // The entry's text, as EntryText gives it. Throws as GetItem.
    const std::string& ItemText(int index) const;

    // Appends the entries stored in the file; a last entry without its
    // separator line still counts. Throws when the file cannot be read.
    void LoadFromFile(const std::string& fileName);
    // Replaces the file with all entries. Throws when it cannot be written.
    void SaveToFile(const std::string& fileName) const;

    // The text an entry puts back into the editor: each line followed by CR LF.
    static std::string EntryText(const TStringList& entry);

private:
    std::vector<std::string> entries_;
};
