#pragma once
// A CREATE TABLE statement describing the fields of a dataset.

#include "TextLines.h"

#include <string>

class TDataSet;

// Clears the lines and fills them: "CREATE TABLE <name>", then one line per
// field, "(" or " " + name + " \t" + column type + ", " or ")". Only VARCHAR,
// SMALLINT, INTEGER, NUMERIC and DATE are mapped; every other type is "?".
// Reads the fields only: the current record is not moved, and a dataset
// without fields (a closed one) gives the first line alone.
void BuildCreateTable(TDataSet& dataSet, const std::string& tableName, TStringList& lines);
