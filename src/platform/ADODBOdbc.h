#pragma once

// ODBC helpers shared by the connection and the table objects; only their sources include this,
// so the driver manager's macros stay out of the rest of the program.

#include "platform/ADODB.h"

#include <sql.h>
#include <sqlext.h>

#include <string>

// The driver's diagnostic records of handle, one "[state] text" per line.
std::string odbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// Raises EADOError with what failed and the driver's diagnostics unless rc is a success.
void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const std::string &what);

// A statement handle on an open connection, freed with the object.
class OdbcStatement {
public:
    explicit OdbcStatement(const TADOConnection &connection);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement &) = delete;
    OdbcStatement &operator=(const OdbcStatement &) = delete;

    SQLHSTMT Handle() const { return handle_; }
    void Check(SQLRETURN rc, const std::string &what) const { checkOdbc(rc, SQL_HANDLE_STMT, handle_, what); }

private:
    SQLHSTMT handle_ = SQL_NULL_HSTMT;
};
