#include "RowStore.h"

#include <algorithm>
#include <cstring>

void TRowStore::Reset(int columns)
{
    columns_.clear();
    columns_.resize(columns);
    rows_ = 0;
    firstBlockRows_ = 0;
    arena_.clear();
    currentBlock_ = 0;
    arenaSize_ = 0;
    arenaUsed_ = 0;
    reservedBytes_ = 0;
}

// The first block doubles until it is full size; copying it costs at most one
// block per column.
void TRowStore::GrowFirstBlock()
{
    const int rows = firstBlockRows_ == 0 ? FirstBlockRows : std::min(firstBlockRows_ * 2, BlockRows);
    for (TColumn& column : columns_) {
        auto kinds = std::make_unique<uint8_t[]>(rows);
        auto payloads = std::make_unique_for_overwrite<int64_t[]>(rows);
        if (column.kinds.empty()) {
            column.kinds.push_back(nullptr);
            column.payloads.push_back(nullptr);
        } else {
            std::memcpy(kinds.get(), column.kinds[0].get(), rows_);
            std::memcpy(payloads.get(), column.payloads[0].get(), rows_ * sizeof(int64_t));
        }
        column.kinds[0] = std::move(kinds);
        column.payloads[0] = std::move(payloads);
    }
    reservedBytes_ += static_cast<size_t>(rows - firstBlockRows_) * CellBytes * columns_.size();
    firstBlockRows_ = rows;
}

void TRowStore::BeginRow()
{
    if (rows_ < BlockRows) {
        if (rows_ == firstBlockRows_)
            GrowFirstBlock();
    } else if ((rows_ & (BlockRows - 1)) == 0) {
        for (TColumn& column : columns_) {
            column.kinds.push_back(std::make_unique<uint8_t[]>(BlockRows));
            column.payloads.push_back(std::make_unique_for_overwrite<int64_t[]>(BlockRows));
        }
        reservedBytes_ += BlockRows * CellBytes * columns_.size();
    }
    ++rows_;
}

void TRowStore::DropLastRow()
{
    if (rows_ > 0)
        --rows_;
}

void TRowStore::Put(int column, TCellKind kind, int64_t payload)
{
    PutAt(rows_ - 1, column, kind, payload);
}

void TRowStore::PutAt(int row, int column, TCellKind kind, int64_t payload)
{
    TColumn& c = columns_[column];
    c.kinds[row >> BlockBits][row & (BlockRows - 1)] = static_cast<uint8_t>(kind);
    c.payloads[row >> BlockBits][row & (BlockRows - 1)] = payload;
}

void TRowStore::Replace(int row, int column, const TCell& cell)
{
    int64_t payload = 0;
    switch (cell.Kind) {
    case TCellKind::Null: break;
    case TCellKind::Integer: payload = cell.Integer; break;
    case TCellKind::Float: std::memcpy(&payload, &cell.Float, sizeof payload); break;
    case TCellKind::Text:
    case TCellKind::Bytes: payload = Store(cell.Text); break;
    }
    PutAt(row, column, cell.Kind, payload);
}

void TRowStore::PutNull(int column) { Put(column, TCellKind::Null, 0); }
void TRowStore::PutInteger(int column, int64_t value) { Put(column, TCellKind::Integer, value); }

void TRowStore::PutFloat(int column, double value)
{
    int64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Put(column, TCellKind::Float, bits);
}

void TRowStore::PutText(int column, std::string_view text, TCellKind kind)
{
    Put(column, kind, Store(text));
}

char* TRowStore::NewArenaBlock(size_t size)
{
    arena_.push_back(std::make_unique_for_overwrite<char[]>(size));
    reservedBytes_ += size;
    return arena_.back().get();
}

// An arena reference: the block index in the high 32 bits, the offset of the
// length-prefixed bytes within the block in the low 32 bits. Blocks double from
// a small first one up to ArenaBlock. A value larger than that gets a block of
// its own; the current block stays in use.
int64_t TRowStore::Store(std::string_view bytes)
{
    uint32_t size = static_cast<uint32_t>(bytes.size());
    size_t needed = sizeof size + bytes.size();
    char* at;
    int64_t ref;
    if (needed > ArenaBlock) {
        at = NewArenaBlock(needed);
        ref = static_cast<int64_t>(arena_.size() - 1) << 32;
    } else {
        if (arenaUsed_ + needed > arenaSize_) {
            size_t blockSize = arenaSize_ == 0 ? FirstArenaBlock : std::min(arenaSize_ * 2, ArenaBlock);
            while (blockSize < needed)
                blockSize *= 2;
            NewArenaBlock(blockSize);
            currentBlock_ = arena_.size() - 1;
            arenaSize_ = blockSize;
            arenaUsed_ = 0;
        }
        at = arena_[currentBlock_].get() + arenaUsed_;
        ref = (static_cast<int64_t>(currentBlock_) << 32) | static_cast<int64_t>(arenaUsed_);
        arenaUsed_ += needed;
    }
    std::memcpy(at, &size, sizeof size);
    std::memcpy(at + sizeof size, bytes.data(), bytes.size());
    return ref;
}
