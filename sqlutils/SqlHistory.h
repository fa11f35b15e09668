#pragma once
// The query history: every statement text run from the editor, oldest first.
// Entries are only ever appended; duplicates are kept. In its file each entry
// is its lines followed by a separator line "/**/".

#include <string>
#include <string_view>
#include <vector>

#include "TextLines.h"

class TSqlHistory {
public:
    static constexpr std::string_view kSeparator = "/**/";

    // Appends an entry; returns its number.
    int Add(TStringList entry);
    // Appends the text cut into lines (an empty text gives an entry without lines).
    int AddText(std::string_view text);

    int Count() const { return static_cast<int>(entries_.size()); }
    // Throws std::runtime_error for an index outside 0 .. Count-1.
    const TStringList& GetItem(int index) const;

    // Appends the entries stored in the file; a last entry without its
    // separator line still counts. Throws when the file cannot be read.
    void LoadFromFile(const std::string& fileName);
    // Replaces the file with all entries. Throws when it cannot be written.
    void SaveToFile(const std::string& fileName) const;

    // The text an entry puts back into the editor: each line followed by CR LF.
    static std::string EntryText(const TStringList& entry);

private:
    std::vector<TStringList> entries_;
};
