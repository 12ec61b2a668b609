#pragma once

// The database data module: the connection to the Access database the administrator copies every
// table into, one table object per database table, and the copy itself. Opening the connection
// at start is optional: without it the program runs as usual.
//
// The database's text columns hold UTF-8 (the table objects convert the tables' cp1250 text on
// the way in and out).

#include "platform/ADODB.h"

#include <string>
#include <vector>

class Progress;
class TDM;
class TztrMemTable;

// A copy that stopped: the table it stopped at and the row (1-based; 0 when the table could not
// be opened). The message is UTF-8, ready to show, with the driver's text on its last line.
class ECopyError : public EDatabaseError {
public:
    ECopyError(const std::string &message, const std::string &tableName, int row)
        : EDatabaseError(message), tableName_(tableName), row_(row)
    {
    }
    const std::string &TableName() const { return tableName_; }
    int Row() const { return row_; }

private:
    std::string tableName_;
    int row_;
};

class TDMK {
public:
    // The program's module works on the program's DM.
    TDMK();
    explicit TDMK(TDM &dm);
    TDMK(const TDMK &) = delete;
    TDMK &operator=(const TDMK &) = delete;

    // Reads the connection string from "provider.csv" and opens the connection; any failure
    // leaves the connection closed and Provider empty, without a word.
    void DataModuleCreate();

    // Why the connection did not open, for the administrator (UTF-8, one fact per line): the
    // connection file, what was read from it or why nothing was, and the driver's answer.
    std::string ConnectionReport(const std::string &driverText) const;

    // Sets up an empty copy database at connectionString: a table for every copied memory table
    // with its data columns and types, made in one transaction, then "provider.csv" naming it.
    // Refused with EDatabaseError, leaving database and file as they were, when the file names
    // another database or the database already holds one of the tables.
    void createCopyDatabase(const std::string &connectionString);

    // The display the copy drives; none shows nothing. The module does not own it.
    void SetProgress(Progress *progress);

    // Empties every database table, link tables before the tables they point to. A statement
    // that fails raises EADOError; the tables after it are left as they are.
    void Urites();

    struct TMasolas {
        TztrMemTable &source;
        TADOTable &destination;
    };
    // Every memory table with its database table, referenced tables first: the copy's order.
    std::vector<TMasolas> Masolasok();
    // Appends the source's data rows, at most rowLimit of them, to the destination, each row in
    // a transaction of its own; returns the number of rows written. A row the database refuses
    // stops the copy with ECopyError; the rows before it stay written. The source's filter is
    // lifted for the copy, and its filter and current row are as before afterwards.
    int TablaMasolas(TztrMemTable &source, TADOTable &destination, int rowLimit);
    // Appends the source's current row to the destination, its data fields matched by name.
    void RekordMasolas(TDataSet &source, TADOTable &destination);

    // The fifteen tables in the order the copy window lists them.
    std::vector<TADOTable *> Tablak();

    TADOConnection Conn;
    TADOTable terem;
    TADOTable oktato;
    TADOTable targy;
    TADOTable mintatanterv;
    TADOTable mintatantervtargy;
    TADOTable kurzusminta;
    TADOTable kurzusmintatargy;
    TADOTable kurzusmintaoktato;
    TADOTable orarend;
    TADOTable kurzus;
    TADOTable alkalom;
    TADOTable kurzusalkalom;
    TADOTable kurzusoktato;
    TADOTable kurzusorarend;
    TADOTable kurzustargy;

    // The connection string read at start (cp1250); empty when reading or opening failed.
    std::string Provider;

private:
    std::string providerFileName() const;
    void createTables();
    void writeProviderFile(const std::string &connectionString);

    // The connection text the file held (cp1250), and why it gave none (UTF-8; empty when it
    // did).
    std::string providerRead_;
    std::string providerProblem_;
    TDM &dm_;
    Progress *progress_ = nullptr;
};

// The database data module of the program, created after the dialogs.
extern TDMK *DMK;
