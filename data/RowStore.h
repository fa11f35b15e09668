#pragma once
// Compact column-oriented storage of a rowset as the provider delivered it:
// per column a kind byte and an 8-byte payload per row, text and bytes in a
// shared arena. Rows are appended as they are fetched. Memory follows the
// data: the first block of rows starts small and doubles up to a full block,
// then full blocks are added, so a large rowset never doubles and copies; the
// arena's blocks likewise start small.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

enum class TCellKind : uint8_t { Null, Integer, Float, Text, Bytes };

struct TCell {
    TCellKind Kind = TCellKind::Null;
    int64_t Integer = 0;
    double Float = 0;
    std::string_view Text;  // Text and Bytes
};

class TRowStore {
public:
    explicit TRowStore(int columns = 0) { Reset(columns); }

    void Reset(int columns);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    int RowCount() const { return rows_; }

    // Appending: BeginRow, then one Put per column in order.
    void BeginRow();
    void PutNull(int column);
    void PutInteger(int column, int64_t value);
    void PutFloat(int column, double value);
    void PutText(int column, std::string_view text, TCellKind kind = TCellKind::Text);
    // Takes back the last row begun, when its values could not all be read.
    void DropLastRow();

    // The bytes the store has allocated for rows and values.
    size_t ReservedBytes() const { return reservedBytes_; }
    // Overwrites a cell of an earlier row (a posted change); a replaced text
    // stays in the arena until the store is reset.
    void Replace(int row, int column, const TCell& cell);

    // Inline: the field layer reads a cell for every value it shows.
    TCellKind Kind(int row, int column) const;
    TCell Cell(int row, int column) const;

private:
    static constexpr int BlockBits = 14;
    static constexpr int BlockRows = 1 << BlockBits;
    static constexpr int FirstBlockRows = 16;
    static constexpr size_t ArenaBlock = 1 << 20;
    static constexpr size_t FirstArenaBlock = 4096;
    static constexpr size_t CellBytes = sizeof(uint8_t) + sizeof(int64_t);

    struct TColumn {
        std::vector<std::unique_ptr<uint8_t[]>> kinds;
        std::vector<std::unique_ptr<int64_t[]>> payloads;
    };
    void GrowFirstBlock();
    void Put(int column, TCellKind kind, int64_t payload);
    void PutAt(int row, int column, TCellKind kind, int64_t payload);
    int64_t Store(std::string_view bytes);
    char* NewArenaBlock(size_t size);

    std::vector<TColumn> columns_;
    int rows_ = 0;
    int firstBlockRows_ = 0;  // the room of the first block, BlockRows once it is full size
    std::vector<std::unique_ptr<char[]>> arena_;
    size_t currentBlock_ = 0;
    size_t arenaSize_ = 0;      // of the current block
    size_t arenaUsed_ = 0;      // in the current block
    size_t reservedBytes_ = 0;
};

inline TCellKind TRowStore::Kind(int row, int column) const
{
    return static_cast<TCellKind>(columns_[column].kinds[row >> BlockBits][row & (BlockRows - 1)]);
}

inline TCell TRowStore::Cell(int row, int column) const
{
    const TColumn& c = columns_[column];
    TCell cell;
    cell.Kind = static_cast<TCellKind>(c.kinds[row >> BlockBits][row & (BlockRows - 1)]);
    const int64_t payload = c.payloads[row >> BlockBits][row & (BlockRows - 1)];
    switch (cell.Kind) {
    case TCellKind::Null:
        break;
    case TCellKind::Integer:
        cell.Integer = payload;
        break;
    case TCellKind::Float:
        std::memcpy(&cell.Float, &payload, sizeof payload);
        break;
    case TCellKind::Text:
    case TCellKind::Bytes: {
        // An arena reference, see Store.
        const char* at = arena_[static_cast<size_t>(payload >> 32)].get() + (payload & 0xffffffff);
        uint32_t size;
        std::memcpy(&size, at, sizeof size);
        cell.Text = std::string_view(at + sizeof size, size);
        break;
    }
    }
    return cell;
}
