#include "ProviderApi.h"

#include <climits>

void TProviderCursor::FetchAll(TRowReceiver& receiver)
{
    while (Fetch(receiver, INT_MAX)) {}
}

bool TProviderConnection::Query(const std::string& sql, TRowReceiver& receiver)
{
    std::unique_ptr<TProviderCursor> cursor = OpenCursor(sql, receiver);
    if (!cursor)
        return false;
    cursor->FetchAll(receiver);
    return true;
}
