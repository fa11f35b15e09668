#include "RowStore.h"

#include <gtest/gtest.h>

#include <string>

// The store grows with the rows it holds: one wide row takes little memory,
// and values survive the first block's regrowth and the full blocks after it.
TEST(RowStore, MemoryFollowsTheRows)
{
    TRowStore wide(1999);
    wide.BeginRow();
    for (int c = 0; c < 1999; ++c)
        wide.PutText(c, "value " + std::to_string(c));
    EXPECT_LT(wide.ReservedBytes(), 1u << 20);
    EXPECT_EQ(wide.Cell(0, 1998).Text, "value 1998");

    TRowStore tall(3);
    const int rows = 40000;
    for (int r = 0; r < rows; ++r) {
        tall.BeginRow();
        tall.PutInteger(0, r);
        if (r % 7 == 0)
            tall.PutNull(1);
        else
            tall.PutFloat(1, r / 4.0);
        tall.PutText(2, std::string(r % 50, 'x') + std::to_string(r), r % 3 ? TCellKind::Text : TCellKind::Bytes);
    }
    for (int r = 0; r < rows; ++r) {
        ASSERT_EQ(tall.Cell(r, 0).Integer, r);
        ASSERT_EQ(tall.Kind(r, 1), r % 7 == 0 ? TCellKind::Null : TCellKind::Float);
        if (r % 7 != 0) {
            ASSERT_EQ(tall.Cell(r, 1).Float, r / 4.0);
        }
        ASSERT_EQ(tall.Cell(r, 2).Text, std::string(r % 50, 'x') + std::to_string(r));
        ASSERT_EQ(tall.Kind(r, 2), r % 3 ? TCellKind::Text : TCellKind::Bytes);
    }
    // Three columns of 40,000 nine-byte cells and about 1.3 MB of text.
    EXPECT_LT(tall.ReservedBytes(), 6u << 20);

    tall.DropLastRow();
    EXPECT_EQ(tall.RowCount(), rows - 1);
    tall.Reset(2);
    EXPECT_EQ(tall.ReservedBytes(), 0u);
}
