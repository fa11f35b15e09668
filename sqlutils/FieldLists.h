#pragma once
// The pieces the script generators share: a dataset's column-name list, and a
// record's values rendered as SQL literals (for INSERT statements) or as field
// texts (for '|'-separated lines). Nothing here moves or changes the dataset.

#include <string>
#include <string_view>

class TDataSet;
class TField;

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
// For a loop over many records use TRecordRenderer, which does the lookups once.
std::string RenderRecord(TDataSet& dataSet, const std::string& names, TRenderMode mode, bool comment);

// One value as an SQL literal: null; strings (their handler's text, or their
// value when they have no handler) trimmed and single-quoted;
// booleans 0 or 1; dates, times and GUIDs single-quoted; bytes and blobs as
// X'hex'; numbers as their text. Inner single quotes are always doubled.
std::string SqlLiteral(const TField& field);
void AppendSqlLiteral(const TField& field, std::string& out);

// One value as plain text: the field's FieldText, unchanged; a memo without
// a text handler gives its value rather than its "(MEMO)" placeholder.
std::string TextValue(const TField& field);
void AppendTextValue(const TField& field, std::string& out);
