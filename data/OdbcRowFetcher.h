#pragma once
// Streams the current result of an ODBC statement into a row receiver.

#include "OdbcColumns.h"

#include <sql.h>

#include <vector>

class TRowReceiver;

// Describes the statement's current result (which must have columns) to the
// receiver, then fetches every row into it.
void FetchOdbcResult(SQLHSTMT statement, SQLSMALLINT columnCount, TRowReceiver& receiver);
