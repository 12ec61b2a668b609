#pragma once

// A small ADO-like database layer over ODBC: a connection opened from a connection string, with
// statements and transactions, and table objects that read a database table as a dataset and
// append rows to it.
//
// Text: the framework's strings are cp1250; the layer hands text to the driver and reads it back
// as UTF-8, so accented characters survive in any database that stores Unicode text.

#include "platform/DB.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A failure reported by the driver; the message carries the driver's diagnostic text.
class EADOError : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

// The ODBC form of an ADO connection string: the OLE DB provider wrapper ("Provider=MSDASQL.1;"
// and the ADO-only "Persist Security Info") is dropped, and an "Extended Properties" value,
// which holds the ODBC string in ADO's own form, takes its place.
std::string OdbcConnectionString(const std::string &connectionString);

class TADOConnection {
public:
    TADOConnection();
    ~TADOConnection();
    TADOConnection(const TADOConnection &) = delete;
    TADOConnection &operator=(const TADOConnection &) = delete;

    const std::string &ConnectionString() const { return connectionString_; }
    // Takes effect at the next open.
    void SetConnectionString(const std::string &connectionString) { connectionString_ = connectionString; }
    // Kept for the settings' sake: the driver is never allowed to ask the user anything.
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool prompt) { loginPrompt_ = prompt; }

    bool Connected() const;
    void SetConnected(bool connected);
    // Raises EADOError with the driver's text when the database cannot be reached.
    void Open();
    // Rolls back a transaction left open.
    void Close();

    // One level of transaction; returns the level begun (1).
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return inTransaction_; }

    // Runs one statement; returns the number of rows it affected (-1 when the driver cannot tell).
    int Execute(const std::string &commandText);

    // Quotes a table or column name the way the driver expects.
    std::string QuoteName(const std::string &name) const;

    // Raised after the transaction call succeeded.
    std::function<void(TADOConnection &sender, int transactionLevel)> OnBeginTransComplete;
    std::function<void(TADOConnection &sender)> OnCommitTransComplete;
    std::function<void(TADOConnection &sender)> OnRollbackTransComplete;

    // The ODBC connection handle, for the table objects; null while closed.
    void *Handle() const;

private:
    void endTransaction(bool commit);

    struct Handles;
    std::unique_ptr<Handles> handles_;
    std::string connectionString_;
    std::string quote_;
    bool loginPrompt_ = false;
    bool inTransaction_ = false;
};

// A database table as a dataset. Opening reads the rows as they are then (a static cursor):
// rows appended later by others show after Refresh. Rows are appended through Append/Insert and
// Post, which write them at once; changing or deleting a row is refused. Fields are made from
// the table's columns.
class OdbcStatement;

class TADOTable : public TDataSet {
public:
    TADOTable();
    ~TADOTable() override;

    const std::string &TableName() const { return tableName_; }
    void SetTableName(const std::string &tableName);
    TADOConnection *Connection() const { return connection_; }
    void SetConnection(TADOConnection *connection);

    bool GetFieldData(TField *field, void *buffer) override;
    using TDataSet::GetFieldData;
    void SetFieldData(TField *field, const void *buffer) override;
    using TDataSet::SetFieldData;
    void SetRecNo(int recNo) override;
    bool BookmarkValid(const TBookmark &bookmark) override;
    int CompareBookmarks(const TBookmark &a, const TBookmark &b) override;

protected:
    TRecordBuffer AllocRecordBuffer() override;
    void FreeRecordBuffer(TRecordBuffer &buffer) override;
    int GetRecordSize() const override { return recordSize_; }
    TGetResult GetRecord(TRecordBuffer buffer, TGetMode getMode, bool doCheck) override;
    void InternalInitRecord(TRecordBuffer buffer) override;
    void GetBookmarkData(TRecordBuffer buffer, void *data) override;
    void SetBookmarkData(TRecordBuffer buffer, const void *data) override;
    TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
    void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override;

    void InternalOpen() override;
    void InternalClose() override;
    void InternalInitFieldDefs() override;
    bool IsCursorOpen() const override { return open_; }
    void InternalFirst() override { current_ = -1; }
    void InternalLast() override { current_ = rowCount(); }
    void InternalAddRecord(TRecordBuffer buffer, bool append) override;
    void InternalDelete() override;
    void InternalPost() override;
    void InternalEdit() override;
    void InternalRefresh() override;
    void InternalGotoBookmark(const void *bookmark) override;
    void InternalSetToRecord(TRecordBuffer buffer) override;
    void ClearCalcFields(TRecordBuffer buffer) override;
    int GetRecNo() const override;
    int GetRecordCount() const override;

private:
    int rowCount() const { return static_cast<int>(rows_.size()); }
    void checkConnection() const;
    std::string selectText() const;
    void layOutRecord();
    // Reads every row of the select that statement ran.
    void readRows(const OdbcStatement &statement);
    void appendRow(TRecordBuffer buffer);
    int placeOf(const TField *field) const;
    TRecordBuffer recordForState() const;

    TADOConnection *connection_ = nullptr;
    std::string tableName_;
    // Each row: the null byte and native value of every data field, in field-number order.
    std::vector<std::vector<std::uint8_t>> rows_;
    std::vector<int> placeOfNumber_;
    int current_ = -1;
    int dataSize_ = 0;
    int recordSize_ = 0;
    bool open_ = false;
    // Set while the fields read or write a buffer other than the one the state names: a row
    // being read from the database, a record being written into it.
    TRecordBuffer directBuffer_ = nullptr;
};
