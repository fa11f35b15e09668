#include "OdbcHandle.h"

#include "OdbcDiagnostics.h"

#include <stdexcept>

TOdbcHandle::TOdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type)
{
    SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
    if (!SQL_SUCCEEDED(rc)) {
        handle_ = SQL_NULL_HANDLE;
        if (parent != SQL_NULL_HANDLE)
            OdbcThrow(type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV : SQL_HANDLE_DBC, parent,
                      "Cannot allocate an ODBC handle");
        throw std::runtime_error("Cannot allocate an ODBC handle");
    }
}

TOdbcHandle::~TOdbcHandle()
{
    Free();
}

TOdbcHandle& TOdbcHandle::operator=(TOdbcHandle&& other) noexcept
{
    if (this != &other) {
        Free();
        type_ = other.type_;
        handle_ = std::exchange(other.handle_, SQLHANDLE{});
        connected_ = std::exchange(other.connected_, false);
    }
    return *this;
}

void TOdbcHandle::Free() noexcept
{
    if (handle_ == SQL_NULL_HANDLE)
        return;
    if (connected_)
        SQLDisconnect(handle_);
    SQLFreeHandle(type_, handle_);
    handle_ = SQL_NULL_HANDLE;
}
