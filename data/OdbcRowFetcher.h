#pragma once
// A cursor over the current result of an ODBC statement.

#include "OdbcColumns.h"
#include "OdbcHandle.h"
#include "ProviderApi.h"

#include <sql.h>

#include <memory>

// Describes the statement's current result (which must have columns) to the
// receiver and returns a cursor that owns the statement and fetches its rows.
std::unique_ptr<TProviderCursor> OpenOdbcCursor(TOdbcHandle statement, SQLSMALLINT columnCount, TRowReceiver& receiver);
