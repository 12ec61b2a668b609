#pragma once

// Stream access to one blob field of a memory table's active record. The bytes are copied into
// the stream when it opens and written back into the record when a written stream is destroyed,
// so a blob is always replaced whole.

#include "platform/Classes.h"
#include "platform/DBTypes.h"

class TField;
class TztrCommon;
class TztrCustomMemTable;
struct TztrRecord;

class TztrBlobStream : public TMemoryStream
{
public:
    // field is a blob field of table. A write mode needs the table in edit or insert state and a
    // writable field (a table being filled may write read-only fields).
    TztrBlobStream(TztrCustomMemTable &table, TField &field, TBlobStreamMode mode);
    ~TztrBlobStream() override;
    TztrBlobStream(const TztrBlobStream &) = delete;
    TztrBlobStream &operator=(const TztrBlobStream &) = delete;

    std::int64_t Write(const void *buffer, std::int64_t count) override;
    void SetSize(std::int64_t newSize) override;

    // Fills the stream with the field's value: the edited one, else the stored one.
    void ReadBlob();
    // Empties the stream; the field becomes null when the stream is written back empty.
    void TruncateBlob();
    // Puts the stream's bytes into the record; an empty stream makes the field null.
    void WriteBlob();

private:
    bool writing() const { return mode_ != bmRead; }

    TField &field_;
    TztrCustomMemTable &table_;
    TztrCommon &common_;
    TBlobStreamMode mode_;
    bool modified_ = false;
    TztrRecord *record_;
};
