#pragma once
// The order of a dataset's records over its row store. Rows arrive in the
// store in result order and stay where they are: a posted insertion appends a
// row to the store and a deletion leaves its row behind, so the order maps
// record positions to store rows. It is the identity, and costs nothing per
// row, until the first insertion or deletion. Rows the store receives after
// that (fetched later) follow in store order.

#include <vector>

class TRowOrder {
public:
    void Reset();
    int Count(int storeRows) const;
    int Row(int record) const;
    // The store row just appended (the last one) becomes the record at `record`.
    void InsertLastRow(int record, int storeRows);
    void Erase(int record, int storeRows);

private:
    void Materialise(int storeRows);

    bool identity_ = true;
    std::vector<int> rows_;
    int mappedStoreRows_ = 0;  // store rows the map accounts for
};
