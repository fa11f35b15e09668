#pragma once
// Owns one ODBC handle (environment, connection or statement) and frees it
// when it goes out of scope. A connection handle is disconnected first.

#include <sql.h>

#include <utility>

class TOdbcHandle {
public:
    TOdbcHandle() = default;
    // Allocates a handle of the given type under the parent (SQL_NULL_HANDLE
    // for an environment); throws std::runtime_error on failure.
    TOdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~TOdbcHandle();

    TOdbcHandle(TOdbcHandle&& other) noexcept
        : type_(other.type_), handle_(std::exchange(other.handle_, SQLHANDLE{})),
          connected_(std::exchange(other.connected_, false)) {}
    TOdbcHandle& operator=(TOdbcHandle&& other) noexcept;
    TOdbcHandle(const TOdbcHandle&) = delete;
    TOdbcHandle& operator=(const TOdbcHandle&) = delete;

    SQLHANDLE Get() const { return handle_; }
    SQLSMALLINT Type() const { return type_; }
    // Marks a connection handle as connected, so that it is disconnected
    // before it is freed.
    void SetConnected() { connected_ = true; }

private:
    void Free() noexcept;

    SQLSMALLINT type_ = 0;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
    bool connected_ = false;
};
