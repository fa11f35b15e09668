#pragma once
// The pieces the script generators share: a dataset's column-name list, and a
// record's values rendered as SQL literals (for INSERT statements) or as field
// texts (for '|'-separated lines). Nothing here moves or changes the dataset.

#include <string>
#include <string_view>

class TDataSet;
class TField;

// The forms of a byte string literal, after the database that reads it back.
enum class TByteLiteral {
    HexString,   // X'4142': SQLite, MySQL and most others
    ByteaHex,    // '\x4142': PostgreSQL, where X'...' is a bit string
    HexNumber,   // 0x4142: SQL Server and Sybase
};

// The byte literal of the database product a connection names (its DBMS name).
TByteLiteral ByteLiteralFor(std::string_view dbmsName);
// The byte literal of the database the dataset reads from.
TByteLiteral ByteLiteralOf(TDataSet& dataSet);

// The comment that follows a value when values are commented: " /* NAME */".
// A name holding "*/" or "/*" cannot end the comment early or open a nested one.
std::string ValueComment(std::string_view name);

enum TRenderMode {
    rmSqlValues,  // SqlLiteral of each value, joined by ", "
    rmText,       // TextValue of each value, joined by "|"
};

// The upper-case form of a field name in the program code page, national
// letters included.
std::string UpperCaseFieldName(std::string_view name);

// The field-definition names, upper-cased, each between the quote and its
// closing counterpart ("[" is closed by "]", any other quote by itself),
// joined by ", ". A closing quote inside a name is doubled, so that a name
// never leaves its quotes. An empty quote leaves the names bare.
std::string FieldNameList(TDataSet& dataSet, const std::string& quote);

// The current record rendered for the comma-separated names (normally
// FieldNameList with an empty quote); an empty names text renders every field
// as an SQL literal. A name is looked up as written, then without its double
// quotes. A name the dataset has no field for (a hidden row identifier, or a
// name the comma-separated form cannot carry) renders as null in
// rmSqlValues, so the statement naming that column still loads, and as the
// empty text in rmText. With comment, every value is followed by
// " /* NAME */". A single empty value renders as "" (two double quotes).
// The generators render by position instead (TRecordRenderer), so that every
// column keeps its value whatever its name holds.
std::string RenderRecord(TDataSet& dataSet, const std::string& names, TRenderMode mode, bool comment);

// One value as an SQL literal: null; strings (their handler's text, or their
// value when they have no handler) trimmed and single-quoted;
// booleans 0 or 1; dates, times and GUIDs single-quoted; bytes and blobs as
// the database's byte literal; numbers as their text with "." as the decimal
// separator, whatever the settings say. A value of another kind than its
// column's type (text or a number in a blob column of a dynamically typed
// database) is written as it is stored. Inner single quotes are always doubled.
std::string SqlLiteral(const TField& field);
void AppendSqlLiteral(const TField& field, std::string& out);
void AppendSqlLiteral(const TField& field, TByteLiteral bytes, std::string& out);

// One value as plain text: the field's FieldText, unchanged; a memo without
// a text handler gives its value rather than its "(MEMO)" placeholder.
std::string TextValue(const TField& field);
void AppendTextValue(const TField& field, std::string& out);
