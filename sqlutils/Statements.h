#pragma once
// Looking at SQL text without touching the database: what kind of text the
// user is about to run, which table a SELECT reads, and the parameters of the
// EXPORT command. Upper-casing here changes only the ASCII letters a-z.

#include <string>
#include <string_view>

enum TStatementKind {
    skSelect,
    skUpdate,
    skInsert,
    skDelete,
    skSchemaChange,  // CREATE, ALTER, DROP
    skScript,        // a ";" followed by CR LF anywhere: run line by line
    skExport,        // the EXPORT command
    skOther,
};

// The kind of an editor text. Never fails.
TStatementKind ClassifyStatement(std::string_view text);

// The upper-cased first word after " FROM " (or after the first five
// characters when there is no " FROM "); may be empty. Never fails.
std::string TableNameFromSql(std::string_view sql);

// The value written after " <key> " in the text, in its original letter case,
// up to the next space, CR or LF. Throws std::runtime_error
// 'Keyword "<key>" not found in command "<text>"' when the key does not stand
// between two spaces.
std::string KeywordValue(std::string_view text, std::string_view key);
