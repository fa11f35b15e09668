#include "RowStore.h"

#include <cstring>

void TRowStore::Reset(int columns)
{
    columns_.clear();
    columns_.resize(columns);
    rows_ = 0;
    arena_.clear();
    currentBlock_ = 0;
    arenaUsed_ = ArenaBlock;
}

void TRowStore::BeginRow()
{
    int slot = rows_ & (BlockRows - 1);
    if (slot == 0) {
        for (TColumn& column : columns_) {
            column.kinds.push_back(std::make_unique<uint8_t[]>(BlockRows));
            column.payloads.push_back(std::make_unique_for_overwrite<int64_t[]>(BlockRows));
        }
    }
    ++rows_;
}

void TRowStore::Put(int column, TCellKind kind, int64_t payload)
{
    int row = rows_ - 1;
    TColumn& c = columns_[column];
    c.kinds[row >> BlockBits][row & (BlockRows - 1)] = static_cast<uint8_t>(kind);
    c.payloads[row >> BlockBits][row & (BlockRows - 1)] = payload;
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

// An arena reference: the block index in the high 32 bits, the offset of the
// length-prefixed bytes within the block in the low 32 bits. A value larger
// than a block gets a block of its own; the current block stays in use.
int64_t TRowStore::Store(std::string_view bytes)
{
    uint32_t size = static_cast<uint32_t>(bytes.size());
    size_t needed = sizeof size + bytes.size();
    char* at;
    int64_t ref;
    if (needed > ArenaBlock) {
        arena_.push_back(std::make_unique_for_overwrite<char[]>(needed));
        at = arena_.back().get();
        ref = static_cast<int64_t>(arena_.size() - 1) << 32;
    } else {
        if (arenaUsed_ + needed > ArenaBlock) {
            arena_.push_back(std::make_unique_for_overwrite<char[]>(ArenaBlock));
            currentBlock_ = arena_.size() - 1;
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
