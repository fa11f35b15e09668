#pragma once
// The statement that writes one row change, with "?" markers, and the values
// bound to them in marker order. Identifiers are quoted by the caller's rule.

#include "ProviderApi.h"

#include <functional>
#include <string>
#include <vector>

struct TRowWriteStatement {
    std::string Sql;
    std::vector<const TColumnValue*> Parameters;
};

TRowWriteStatement RowWriteStatement(const TRowWrite& write,
                                     const std::function<std::string(const std::string&)>& quoteIdentifier);

// The identifier between the quote characters, an inner quote doubled.
std::string QuotedIdentifier(const std::string& name, char quote);
