#include "platform/ADODB.h"
#include "platform/ADODBOdbc.h"
#include "platform/Cp1250.h"
#include "platform/DBConsts.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Every buffer starts with the row it shows and its bookmark flag.
struct Header {
    std::int32_t row;
    TBookmarkFlag flag;
};
constexpr int HeaderSize = 8;
static_assert(sizeof(Header) <= HeaderSize);

Header &header(TRecordBuffer buffer) { return *reinterpret_cast<Header *>(buffer); }

std::int32_t rowOfBookmark(const void *bookmark)
{
    std::int32_t row;
    std::memcpy(&row, bookmark, sizeof row);
    return row;
}

// Long texts are held in full only up to this many characters; the copy and the browsing work on
// short columns, and a record of the table is this wide for every row.
constexpr int LongestText = 4000;
// What a text column without a stated width gets.
constexpr int DefaultTextSize = 255;

TFieldType fieldTypeOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
        return ftSmallint;
    case SQL_INTEGER:
        return ftInteger;
    case SQL_BIGINT:
        return ftLargeint;
    case SQL_BIT:
        return ftBoolean;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        return ftFloat;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return ftDate;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return ftTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return ftDateTime;
    default:
        return ftString;
    }
}

bool isIntegerType(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc || type == ftLargeint;
}

bool isFloatType(TFieldType type)
{
    return type == ftFloat || type == ftCurrency || type == ftBCD || type == ftFMTBcd;
}

bool isDateType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime || type == ftTimeStamp;
}

TDateTime dateTimeOf(const SQL_TIMESTAMP_STRUCT &stamp, TFieldType type)
{
    TDateTime date = 0, time = 0;
    if (type != ftTime && !TryEncodeDate(stamp.year, stamp.month, stamp.day, date))
        throw EADOError("The database gave an invalid date");
    if (!TryEncodeTime(stamp.hour, stamp.minute, stamp.second, static_cast<int>(stamp.fraction / 1000000), time))
        throw EADOError("The database gave an invalid time");
    return date < 0 ? TDateTime(date - time) : TDateTime(date + time);
}

SQL_TIMESTAMP_STRUCT timestampOf(TDateTime value)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    SQL_TIMESTAMP_STRUCT stamp{};
    stamp.year = static_cast<SQLSMALLINT>(year);
    stamp.month = static_cast<SQLUSMALLINT>(month);
    stamp.day = static_cast<SQLUSMALLINT>(day);
    stamp.hour = static_cast<SQLUSMALLINT>(hour);
    stamp.minute = static_cast<SQLUSMALLINT>(minute);
    stamp.second = static_cast<SQLUSMALLINT>(second);
    stamp.fraction = static_cast<SQLUINTEGER>(msec) * 1000000u;
    return stamp;
}

// Reads column of the current row as the variant the field takes; null for a null value.
Variant readColumn(const OdbcStatement &statement, SQLUSMALLINT column, TFieldType type)
{
    const SQLHSTMT handle = statement.Handle();
    SQLLEN indicator = 0;
    if (isIntegerType(type)) {
        SQLBIGINT value = 0;
        statement.Check(SQLGetData(handle, column, SQL_C_SBIGINT, &value, 0, &indicator), "Cannot read a value");
        if (indicator == SQL_NULL_DATA)
            return Variant::Null();
        return type == ftLargeint ? Variant(static_cast<std::int64_t>(value)) : Variant(static_cast<int>(value));
    }
    if (isFloatType(type)) {
        double value = 0;
        statement.Check(SQLGetData(handle, column, SQL_C_DOUBLE, &value, 0, &indicator), "Cannot read a value");
        return indicator == SQL_NULL_DATA ? Variant::Null() : Variant(value);
    }
    if (type == ftBoolean) {
        unsigned char value = 0;
        statement.Check(SQLGetData(handle, column, SQL_C_BIT, &value, 0, &indicator), "Cannot read a value");
        return indicator == SQL_NULL_DATA ? Variant::Null() : Variant(value != 0);
    }
    if (isDateType(type)) {
        SQL_TIMESTAMP_STRUCT value{};
        statement.Check(SQLGetData(handle, column, SQL_C_TYPE_TIMESTAMP, &value, sizeof value, &indicator),
                        "Cannot read a value");
        return indicator == SQL_NULL_DATA ? Variant::Null() : Variant(dateTimeOf(value, type));
    }
    // Text comes in chunks; each chunk but the last fills the buffer up to its closing zero.
    std::string text;
    char chunk[1024];
    for (;;) {
        const SQLRETURN rc = SQLGetData(handle, column, SQL_C_CHAR, chunk, sizeof chunk, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        statement.Check(rc, "Cannot read a value");
        if (indicator == SQL_NULL_DATA)
            return Variant::Null();
        const bool more = indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof chunk);
        text.append(chunk, more ? sizeof chunk - 1 : static_cast<std::size_t>(indicator));
        if (!more)
            break;
    }
    return Variant(utf8ToCp1250(text));
}

// One parameter of an insert, kept alive until the statement has run.
struct Parameter {
    SQLBIGINT integer = 0;
    double number = 0;
    unsigned char boolean = 0;
    SQL_TIMESTAMP_STRUCT stamp{};
    std::string text;
    SQLLEN indicator = 0;
};

void bindParameter(const OdbcStatement &statement, SQLUSMALLINT number, const TField &field, Parameter &parameter)
{
    const TFieldType type = field.DataType();
    const SQLHSTMT handle = statement.Handle();
    SQLRETURN rc;
    const bool null = field.IsNull();
    parameter.indicator = null ? SQL_NULL_DATA : 0;
    if (isIntegerType(type)) {
        parameter.integer = null ? 0 : field.AsLargeInt();
        rc = SQLBindParameter(handle, number, SQL_PARAM_INPUT, SQL_C_SBIGINT,
                              type == ftLargeint ? SQL_BIGINT : SQL_INTEGER, 0, 0, &parameter.integer, 0,
                              &parameter.indicator);
    } else if (isFloatType(type)) {
        parameter.number = null ? 0 : field.AsFloat();
        rc = SQLBindParameter(handle, number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &parameter.number, 0,
                              &parameter.indicator);
    } else if (type == ftBoolean) {
        parameter.boolean = !null && field.AsBoolean() ? 1 : 0;
        rc = SQLBindParameter(handle, number, SQL_PARAM_INPUT, SQL_C_BIT, SQL_BIT, 0, 0, &parameter.boolean, 0,
                              &parameter.indicator);
    } else if (isDateType(type)) {
        if (!null)
            parameter.stamp = timestampOf(field.AsDateTime());
        rc = SQLBindParameter(handle, number, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3,
                              &parameter.stamp, sizeof parameter.stamp, &parameter.indicator);
    } else {
        if (!null)
            parameter.text = cp1250ToUtf8(field.AsString());
        parameter.indicator = null ? SQL_NULL_DATA : static_cast<SQLLEN>(parameter.text.size());
        rc = SQLBindParameter(handle, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                              std::max<SQLULEN>(parameter.text.size(), 1), 0, parameter.text.data(),
                              static_cast<SQLLEN>(parameter.text.size()), &parameter.indicator);
    }
    statement.Check(rc, "Cannot pass the value of field " + cp1250ToUtf8(field.FieldName()));
}

// Field definitions for the columns of the select that statement ran.
void describeColumns(const OdbcStatement &statement, TFieldDefs &defs)
{
    SQLSMALLINT columns = 0;
    statement.Check(SQLNumResultCols(statement.Handle(), &columns), "Cannot read the columns");
    defs.Clear();
    for (SQLUSMALLINT column = 1; column <= columns; ++column) {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN columnSize = 0;
        statement.Check(SQLDescribeCol(statement.Handle(), column, name, sizeof name, &nameLength, &sqlType,
                                       &columnSize, &digits, &nullable),
                        "Cannot read the columns");
        const TFieldType type = fieldTypeOf(sqlType);
        int size = 0;
        if (type == ftString)
            size = columnSize == 0 ? DefaultTextSize
                                   : static_cast<int>(std::min<SQLULEN>(columnSize, LongestText));
        defs.Add(utf8ToCp1250(reinterpret_cast<const char *>(name)), type, size);
    }
}

void runSelect(const OdbcStatement &statement, const std::string &text, const std::string &tableName)
{
    std::string command = cp1250ToUtf8(text);
    statement.Check(SQLExecDirect(statement.Handle(), reinterpret_cast<SQLCHAR *>(command.data()), SQL_NTS),
                    "Cannot open table " + cp1250ToUtf8(tableName));
}

} // namespace

TADOTable::TADOTable() = default;

TADOTable::~TADOTable()
{
    Close();
}

void TADOTable::SetTableName(const std::string &tableName)
{
    CheckInactive();
    tableName_ = tableName;
    FieldDefs().Clear();
}

void TADOTable::SetConnection(TADOConnection *connection)
{
    CheckInactive();
    connection_ = connection;
}

void TADOTable::checkConnection() const
{
    if (connection_ == nullptr)
        DatabaseError("Missing Connection", this);
    if (tableName_.empty())
        DatabaseError("Missing TableName", this);
}

std::string TADOTable::selectText() const
{
    return "select * from " + connection_->QuoteName(tableName_);
}

void TADOTable::InternalInitFieldDefs()
{
    checkConnection();
    OdbcStatement statement(*connection_);
    runSelect(statement, selectText(), tableName_);
    describeColumns(statement, FieldDefs());
}

void TADOTable::InternalOpen()
{
    checkConnection();
    OdbcStatement statement(*connection_);
    runSelect(statement, selectText(), tableName_);
    describeColumns(statement, FieldDefs());
    FieldDefs().SetUpdated(true);
    if (DefaultFields())
        CreateFields();
    BindFields(true);
    layOutRecord();
    try {
        readRows(statement);
    } catch (...) {
        BindFields(false);
        if (DefaultFields())
            DestroyFields();
        throw;
    }
    SetBookmarkSize(sizeof(std::int32_t));
    current_ = -1;
    open_ = true;
}

void TADOTable::layOutRecord()
{
    placeOfNumber_.assign(static_cast<std::size_t>(FieldDefs().Count()) + 1, -1);
    dataSize_ = 0;
    for (const auto &field : Fields()) {
        if (field->FieldNo() > 0 && field->FieldNo() <= FieldDefs().Count()) {
            placeOfNumber_[static_cast<std::size_t>(field->FieldNo())] = dataSize_;
            dataSize_ += field->DataSize() + 1;
        }
    }
    recordSize_ = HeaderSize + dataSize_ + CalcFieldsSize();
}

void TADOTable::readRows(const OdbcStatement &statement)
{
    std::vector<std::uint8_t> record(static_cast<std::size_t>(recordSize_));
    struct Restore {
        TRecordBuffer &buffer;
        ~Restore() { buffer = nullptr; }
    } restore{directBuffer_};
    rows_.clear();
    for (;;) {
        const SQLRETURN rc = SQLFetch(statement.Handle());
        if (rc == SQL_NO_DATA)
            break;
        statement.Check(rc, "Cannot read table " + cp1250ToUtf8(tableName_));
        std::fill(record.begin(), record.end(), 0);
        directBuffer_ = record.data();
        // Column numbers and field numbers agree: both follow the select's columns.
        for (int column = 1; column <= FieldDefs().Count(); ++column) {
            TField *field = FieldByNumber(column);
            const TFieldType type = field != nullptr ? field->DataType() : ftString;
            const Variant value = readColumn(statement, static_cast<SQLUSMALLINT>(column), type);
            if (field != nullptr)
                field->SetAsVariant(value);
        }
        rows_.emplace_back(record.begin() + HeaderSize, record.begin() + HeaderSize + dataSize_);
    }
}

void TADOTable::InternalClose()
{
    BindFields(false);
    if (DefaultFields())
        DestroyFields();
    rows_.clear();
    open_ = false;
}

void TADOTable::InternalRefresh()
{
    OdbcStatement statement(*connection_);
    runSelect(statement, selectText(), tableName_);
    readRows(statement);
    current_ = std::min(current_, rowCount() - 1);
}

TRecordBuffer TADOTable::AllocRecordBuffer()
{
    return new std::uint8_t[static_cast<std::size_t>(recordSize_)]();
}

void TADOTable::FreeRecordBuffer(TRecordBuffer &buffer)
{
    delete[] buffer;
    buffer = nullptr;
}

TGetResult TADOTable::GetRecord(TRecordBuffer buffer, TGetMode getMode, bool doCheck)
{
    switch (getMode) {
    case gmNext:
        if (current_ >= rowCount() - 1) {
            current_ = rowCount();
            return grEOF;
        }
        ++current_;
        break;
    case gmPrior:
        if (current_ <= 0) {
            current_ = -1;
            return grBOF;
        }
        --current_;
        break;
    case gmCurrent:
        if (current_ < 0 || current_ >= rowCount()) {
            if (doCheck)
                DatabaseError(SRecordNotFound, this);
            return grError;
        }
        break;
    }
    const std::vector<std::uint8_t> &row = rows_[static_cast<std::size_t>(current_)];
    std::memcpy(buffer + HeaderSize, row.data(), row.size());
    header(buffer) = Header{current_, bfCurrent};
    GetCalcFields(buffer);
    return grOK;
}

void TADOTable::InternalInitRecord(TRecordBuffer buffer)
{
    std::memset(buffer + HeaderSize, 0, static_cast<std::size_t>(recordSize_ - HeaderSize));
}

void TADOTable::GetBookmarkData(TRecordBuffer buffer, void *data)
{
    std::memcpy(data, &header(buffer).row, sizeof(std::int32_t));
}

void TADOTable::SetBookmarkData(TRecordBuffer buffer, const void *data)
{
    header(buffer).row = rowOfBookmark(data);
}

TBookmarkFlag TADOTable::GetBookmarkFlag(TRecordBuffer buffer)
{
    return header(buffer).flag;
}

void TADOTable::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag)
{
    header(buffer).flag = flag;
}

bool TADOTable::BookmarkValid(const TBookmark &bookmark)
{
    if (bookmark.size() != sizeof(std::int32_t))
        return false;
    const std::int32_t row = rowOfBookmark(bookmark.data());
    return row >= 0 && row < rowCount();
}

int TADOTable::CompareBookmarks(const TBookmark &a, const TBookmark &b)
{
    if (a.size() != sizeof(std::int32_t) || b.size() != sizeof(std::int32_t))
        return TDataSet::CompareBookmarks(a, b);
    const std::int32_t x = rowOfBookmark(a.data()), y = rowOfBookmark(b.data());
    return x < y ? -1 : (x > y ? 1 : 0);
}

void TADOTable::InternalGotoBookmark(const void *bookmark)
{
    const std::int32_t row = rowOfBookmark(bookmark);
    if (row < 0 || row >= rowCount())
        DatabaseError(SBookmarkMissing, this);
    current_ = row;
}

void TADOTable::InternalSetToRecord(TRecordBuffer buffer)
{
    const std::int32_t row = header(buffer).row;
    if (row >= 0 && row < rowCount())
        current_ = row;
}

void TADOTable::SetRecNo(int recNo)
{
    CheckBrowseMode();
    if (recNo < 1 || recNo > rowCount() || recNo == RecNo())
        return;
    DoBeforeScroll();
    current_ = recNo - 1;
    Resync({rmCenter});
    DoAfterScroll();
}

int TADOTable::GetRecNo() const
{
    const TRecordBuffer buffer = ActiveBuffer();
    if (buffer == nullptr || IsEmpty() || State() == dsInsert)
        return -1;
    return header(buffer).row + 1;
}

int TADOTable::GetRecordCount() const
{
    CheckActive();
    return rowCount();
}

int TADOTable::placeOf(const TField *field) const
{
    if (field->FieldNo() > 0)
        return HeaderSize + placeOfNumber_[static_cast<std::size_t>(field->FieldNo())];
    return HeaderSize + dataSize_ + field->Offset();
}

TRecordBuffer TADOTable::recordForState() const
{
    if (directBuffer_ != nullptr)
        return directBuffer_;
    switch (State()) {
    case dsCalcFields:
        return CalcBuffer();
    case dsBrowse:
    case dsBlockRead:
        return IsEmpty() ? nullptr : ActiveBuffer();
    default:
        return ActiveBuffer();
    }
}

bool TADOTable::GetFieldData(TField *field, void *buffer)
{
    const TRecordBuffer record = recordForState();
    if (record == nullptr)
        return false;
    const std::uint8_t *place = record + placeOf(field);
    if (place[0] == 0)
        return false;
    if (buffer != nullptr)
        std::memcpy(buffer, place + 1, static_cast<std::size_t>(field->DataSize()));
    return true;
}

void TADOTable::SetFieldData(TField *field, const void *buffer)
{
    const bool direct = directBuffer_ != nullptr;
    if (!direct) {
        if (!IsEditState(State()) && State() != dsCalcFields)
            DatabaseError(SNotEditing, this);
        if (field->ReadOnly() && State() != dsCalcFields)
            DatabaseErrorFmt(SFieldReadOnly, {cp1250ToUtf8(field->DisplayName())}, this);
        if (State() != dsCalcFields)
            field->Validate(buffer);
    }
    std::uint8_t *place = recordForState() + placeOf(field);
    place[0] = buffer != nullptr ? 1 : 0;
    if (buffer != nullptr)
        std::memcpy(place + 1, buffer, static_cast<std::size_t>(field->DataSize()));
    else
        std::memset(place + 1, 0, static_cast<std::size_t>(field->DataSize()));
    if (!direct && State() != dsCalcFields)
        DataEvent(deFieldChange, reinterpret_cast<TDataEventInfo>(field));
}

void TADOTable::ClearCalcFields(TRecordBuffer buffer)
{
    std::memset(buffer + HeaderSize + dataSize_, 0, static_cast<std::size_t>(CalcFieldsSize()));
}

void TADOTable::InternalEdit()
{
    DatabaseError("Rows read from the database cannot be changed here; append new rows instead", this);
}

void TADOTable::InternalDelete()
{
    DatabaseError("Rows read from the database cannot be deleted here", this);
}

void TADOTable::InternalPost()
{
    TDataSet::InternalPost();
    appendRow(ActiveBuffer());
}

void TADOTable::InternalAddRecord(TRecordBuffer buffer, bool)
{
    appendRow(buffer);
}

// Writes the record into the database, then keeps it as the last row: an appended row shows at
// the end until the next refresh puts the rows in the database's order.
void TADOTable::appendRow(TRecordBuffer buffer)
{
    std::vector<TField *> fields;
    for (const auto &field : Fields())
        if (field->FieldKind() == fkData && field->FieldNo() > 0)
            fields.push_back(field.get());
    if (fields.empty())
        DatabaseError("The table has no columns to write", this);

    std::string columns, marks;
    for (TField *field : fields) {
        columns += (columns.empty() ? "" : ", ") + connection_->QuoteName(field->FieldName());
        marks += marks.empty() ? "?" : ", ?";
    }
    std::string command =
        cp1250ToUtf8("insert into " + connection_->QuoteName(tableName_) + " (" + columns + ") values (" + marks + ")");

    OdbcStatement statement(*connection_);
    std::vector<Parameter> parameters(fields.size());
    struct Restore {
        TRecordBuffer &buffer;
        ~Restore() { buffer = nullptr; }
    } restore{directBuffer_};
    directBuffer_ = buffer;
    for (std::size_t i = 0; i < fields.size(); ++i)
        bindParameter(statement, static_cast<SQLUSMALLINT>(i + 1), *fields[i], parameters[i]);
    statement.Check(SQLExecDirect(statement.Handle(), reinterpret_cast<SQLCHAR *>(command.data()), SQL_NTS),
                    "Cannot write a row into table " + cp1250ToUtf8(tableName_));

    rows_.emplace_back(buffer + HeaderSize, buffer + HeaderSize + dataSize_);
    current_ = rowCount() - 1;
}
