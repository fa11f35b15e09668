#pragma once
// The SQL line scanner behind the editor's highlighting. Each line is scanned
// from its start state (the end state of the line before it) into tokens.
// Plain C++: positions are byte offsets into the 8-bit line. With a UTF-8
// program code page a multi-byte character is one Unknown token, as a letter
// outside A-Z and a-z is never part of a word.

#include <cstdint>
#include <string_view>
#include <vector>

enum class TSqlTokenKind : std::uint8_t {
    Comment,
    DelimitedIdentifier,  // "name"
    Identifier,
    Number,
    ReservedWord,
    Space,
    String,               // 'text'
    Symbol,
    Variable,             // @name
    Unknown,              // a character no rule takes; drawn as an identifier
};

enum class TSqlScanState : std::uint8_t {
    Normal,
    BlockComment,
    String,
};

struct TSqlToken {
    TSqlTokenKind kind;
    int start;
    int length;

    bool operator==(const TSqlToken&) const = default;
};

// Appends the line's tokens to `out` (cleared first) and returns the state the
// next line starts in.
TSqlScanState ScanSqlLine(std::string_view line, TSqlScanState start, std::vector<TSqlToken>& out);

// Whether the word is one of the reserved words, ignoring the case of A-Z.
bool IsSqlReservedWord(std::string_view word);
