#pragma once
// One value owned outside the row store: a record being edited, or a value
// bound to a statement that writes a change back.

#include "RowStore.h"

#include <cstdint>
#include <string>

struct TValue {
    TCellKind Kind = TCellKind::Null;
    int64_t Integer = 0;
    double Float = 0;
    std::string Text;  // Text (program code page) and Bytes

    static TValue FromCell(const TCell& cell)
    {
        TValue value;
        value.Kind = cell.Kind;
        value.Integer = cell.Integer;
        value.Float = cell.Float;
        value.Text = cell.Text;
        return value;
    }
    TCell AsCell() const { return {Kind, Integer, Float, Text}; }
    bool IsNull() const { return Kind == TCellKind::Null; }
};
