#include "platform/ADODB.h"
#include "platform/ADODBOdbc.h"
#include "platform/Cp1250.h"
#include "platform/LocaleCompare.h"

#include <algorithm>
#include <cctype>
#include <type_traits>
#include <vector>

static_assert(std::is_same_v<SQLHANDLE, void *>, "the public header hands the connection handle out as void *");

namespace {

std::string trim(const std::string &text)
{
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

struct ConnectionItem {
    std::string key;
    std::string text;
};

bool sameKey(const std::string &key, const char *wanted)
{
    return CompareText(key, wanted) == 0;
}

// Splits at ";" outside braces and double quotes, which may hold a ";" of their own.
std::vector<ConnectionItem> connectionItems(const std::string &connectionString)
{
    std::vector<ConnectionItem> items;
    std::string text;
    char closing = '\0';
    auto finish = [&] {
        const std::string item = trim(text);
        text.clear();
        if (item.empty())
            return;
        const std::size_t equals = item.find('=');
        items.push_back({trim(item.substr(0, equals)), item});
    };
    for (char c : connectionString) {
        if (closing != '\0') {
            if (c == closing)
                closing = '\0';
        } else if (c == '{') {
            closing = '}';
        } else if (c == '"') {
            closing = '"';
        } else if (c == ';') {
            finish();
            continue;
        }
        text += c;
    }
    finish();
    return items;
}

std::string unquoted(const std::string &value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::string OdbcConnectionString(const std::string &connectionString)
{
    std::string result;
    auto add = [&result](const std::string &item) {
        if (item.empty())
            return;
        if (!result.empty())
            result += ';';
        result += item;
    };
    for (const ConnectionItem &item : connectionItems(connectionString)) {
        if (sameKey(item.key, "Provider") || sameKey(item.key, "Persist Security Info"))
            continue;
        if (sameKey(item.key, "Extended Properties")) {
            const std::string value = item.text.substr(item.text.find('=') + 1);
            add(trim(unquoted(trim(value))));
            continue;
        }
        add(item.text);
    }
    return result;
}

std::string odbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER nativeError = 0;
        SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, state, &nativeError, message,
                                           sizeof message, &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        if (!text.empty())
            text += '\n';
        // Appended piece by piece: g++ -O3 sees a false overlap in a chain of temporaries here.
        text.append("[").append(reinterpret_cast<const char *>(state)).append("] ");
        text.append(reinterpret_cast<const char *>(message));
    }
    return text.empty() ? "no diagnostic from the driver" : text;
}

void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const std::string &what)
{
    if (!SQL_SUCCEEDED(rc))
        throw EADOError(what + ": " + odbcDiagnostics(handleType, handle));
}

OdbcStatement::OdbcStatement(const TADOConnection &connection)
{
    if (!connection.Connected())
        throw EADOError("Connection is closed");
    const SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, connection.Handle(), &handle_);
    checkOdbc(rc, SQL_HANDLE_DBC, connection.Handle(), "Cannot make a statement");
}

OdbcStatement::~OdbcStatement()
{
    SQLFreeHandle(SQL_HANDLE_STMT, handle_);
}

struct TADOConnection::Handles {
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;

    ~Handles()
    {
        if (connection != SQL_NULL_HDBC) {
            SQLDisconnect(connection);
            SQLFreeHandle(SQL_HANDLE_DBC, connection);
        }
        if (environment != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, environment);
    }
};

TADOConnection::TADOConnection() = default;

TADOConnection::~TADOConnection()
{
    Close();
}

bool TADOConnection::Connected() const
{
    return handles_ != nullptr;
}

void TADOConnection::SetConnected(bool connected)
{
    if (connected)
        Open();
    else
        Close();
}

void TADOConnection::Open()
{
    if (Connected())
        return;
    auto handles = std::make_unique<Handles>();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handles->environment)))
        throw EADOError("Cannot start the ODBC driver manager");
    SQLSetEnvAttr(handles->environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    checkOdbc(SQLAllocHandle(SQL_HANDLE_DBC, handles->environment, &handles->connection), SQL_HANDLE_ENV,
              handles->environment, "Cannot make a connection");

    // The driver manager takes the machine's text, UTF-8.
    std::string odbcString = cp1250ToUtf8(OdbcConnectionString(connectionString_));
    SQLCHAR completed[1024];
    SQLSMALLINT completedLength = 0;
    const SQLRETURN rc = SQLDriverConnect(handles->connection, nullptr,
                                          reinterpret_cast<SQLCHAR *>(odbcString.data()), SQL_NTS, completed,
                                          sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const std::string diagnostics = odbcDiagnostics(SQL_HANDLE_DBC, handles->connection);
        // Disconnecting a connection that never opened only adds a diagnostic of its own.
        SQLFreeHandle(SQL_HANDLE_DBC, handles->connection);
        handles->connection = SQL_NULL_HDBC;
        throw EADOError("Cannot open the database: " + diagnostics);
    }

    SQLCHAR quote[8] = {};
    SQLSMALLINT quoteLength = 0;
    const bool known = SQL_SUCCEEDED(SQLGetInfo(handles->connection, SQL_IDENTIFIER_QUOTE_CHAR, quote,
                                                sizeof quote, &quoteLength));
    quote_ = known ? trim(reinterpret_cast<const char *>(quote)) : "\"";
    inTransaction_ = false;
    handles_ = std::move(handles);
}

void TADOConnection::Close()
{
    if (!Connected())
        return;
    if (inTransaction_) {
        SQLEndTran(SQL_HANDLE_DBC, handles_->connection, SQL_ROLLBACK);
        inTransaction_ = false;
    }
    handles_.reset();
}

void *TADOConnection::Handle() const
{
    return handles_ ? handles_->connection : SQL_NULL_HDBC;
}

int TADOConnection::BeginTrans()
{
    if (!Connected())
        throw EADOError("Connection is closed");
    if (inTransaction_)
        throw EADOError("A transaction is already running; transactions do not nest");
    checkOdbc(SQLSetConnectAttr(handles_->connection, SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER),
              SQL_HANDLE_DBC, handles_->connection, "Cannot begin a transaction");
    inTransaction_ = true;
    if (OnBeginTransComplete)
        OnBeginTransComplete(*this, 1);
    return 1;
}

void TADOConnection::CommitTrans()
{
    endTransaction(true);
    if (OnCommitTransComplete)
        OnCommitTransComplete(*this);
}

void TADOConnection::RollbackTrans()
{
    endTransaction(false);
    if (OnRollbackTransComplete)
        OnRollbackTransComplete(*this);
}

void TADOConnection::endTransaction(bool commit)
{
    if (!Connected() || !inTransaction_)
        throw EADOError("No transaction is running");
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, handles_->connection, commit ? SQL_COMMIT : SQL_ROLLBACK);
    // A commit that failed leaves the transaction open for the rollback that follows.
    checkOdbc(rc, SQL_HANDLE_DBC, handles_->connection,
              commit ? "Cannot commit the transaction" : "Cannot roll back the transaction");
    inTransaction_ = false;
    SQLSetConnectAttr(handles_->connection, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      SQL_IS_UINTEGER);
}

int TADOConnection::Execute(const std::string &commandText)
{
    OdbcStatement statement(*this);
    std::string text = cp1250ToUtf8(commandText);
    const SQLRETURN rc = SQLExecDirect(statement.Handle(), reinterpret_cast<SQLCHAR *>(text.data()), SQL_NTS);
    // A statement that touches no row is not a failure.
    if (rc == SQL_NO_DATA)
        return 0;
    statement.Check(rc, "Cannot run \"" + text + "\"");
    SQLLEN rows = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(statement.Handle(), &rows)))
        return -1;
    return static_cast<int>(rows);
}

std::string TADOConnection::QuoteName(const std::string &name) const
{
    if (quote_.empty())
        return name;
    return quote_ + name + quote_;
}
