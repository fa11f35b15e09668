#pragma once
// How a SQLite column's declared type (or, without one, its first value's
// storage class) becomes a provider column type.

#include <cstdint>
#include <string_view>

enum class TSqliteStorage { None, Integer, Float, Text, Blob };

struct TSqliteColumnType {
    int AdoType;
    int64_t DefinedSize = 0;
    uint8_t Precision = 0;
    int8_t Scale = 0;
};

// Text longer than this has no fixed-size string type; it becomes a memo.
inline constexpr int64_t SqliteMaxStringSize = 8192;
// The size given to text columns whose length nothing declares.
inline constexpr int64_t SqliteUndeclaredStringSize = 255;

TSqliteColumnType SqliteColumnType(std::string_view declared, TSqliteStorage firstValue, bool autoIncrement);
