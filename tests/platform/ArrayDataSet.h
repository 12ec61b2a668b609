#pragma once

// A dataset over rows kept in a vector, implementing the record-buffer protocol the simplest
// way, so that tests can drive the framework as a dataset user would.

#include "platform/Classes.h"
#include "platform/DB.h"
#include "platform/LocaleCompare.h"

#include <algorithm>
#include <map>
#include <memory>

#include <cstring>
#include <vector>

class ArrayDataSet : public TDataSet {
public:
    ~ArrayDataSet() override { Close(); }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The operations the framework asked of the dataset, in order ("post", "delete", ...).
    std::vector<std::string> calls;

    bool Locate(const std::string &keyFields, const Variant &keyValues, TLocateOptions options) override
    {
        CheckBrowseMode();
        const int row = findRow(keyFields, keyValues, options);
        SetFound(row >= 0);
        if (row < 0)
            return false;
        DoBeforeScroll();
        current_ = row;
        Resync({rmExact, rmCenter});
        DoAfterScroll();
        return true;
    }

    Variant Lookup(const std::string &keyFields, const Variant &keyValues, const std::string &resultFields) override
    {
        const int row = findRow(keyFields, keyValues, {});
        if (row < 0)
            return Variant();
        Variant result;
        withRow(row, [&] {
            const std::vector<TField *> fields = GetFieldList(resultFields);
            if (fields.size() == 1) {
                result = fields[0]->AsVariant();
            } else {
                Variant::Array values;
                for (TField *field : fields)
                    values.push_back(field->AsVariant());
                result = Variant(values);
            }
        });
        return result;
    }

    bool BookmarkValid(const TBookmark &bookmark) override
    {
        return bookmark.size() == sizeof(std::int32_t) && rowOfId(idOf(bookmark.data())) >= 0;
    }

    int CompareBookmarks(const TBookmark &a, const TBookmark &b) override
    {
        if (a.empty() || b.empty())
            return TDataSet::CompareBookmarks(a, b);
        const int x = rowOfId(idOf(a.data())), y = rowOfId(idOf(b.data()));
        return x < y ? -1 : (x > y ? 1 : 0);
    }

    bool GetFieldData(TField *field, void *buffer) override
    {
        const TRecordBuffer record = recordForState();
        if (!record)
            return false;
        const std::uint8_t *place = record + placeOf(field);
        if (place[0] == 0)
            return false;
        if (buffer)
            std::memcpy(buffer, place + 1, static_cast<std::size_t>(field->DataSize()));
        return true;
    }

    void SetFieldData(TField *field, const void *buffer) override
    {
        if (!(IsEditState(State()) || State() == dsCalcFields || State() == dsFilter))
            DatabaseError(SNotEditing, this);
        if (field->ReadOnly() && State() != dsCalcFields)
            DatabaseErrorFmt(SFieldReadOnly, {field->DisplayName()}, this);
        if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc ||
            field->FieldKind() == fkCalculated)
            field->Validate(buffer);
        std::uint8_t *place = recordForState() + placeOf(field);
        place[0] = buffer ? 1 : 0;
        if (buffer)
            std::memcpy(place + 1, buffer, static_cast<std::size_t>(field->DataSize()));
        else
            std::memset(place + 1, 0, static_cast<std::size_t>(field->DataSize()));
        if (State() != dsCalcFields && State() != dsFilter)
            DataEvent(deFieldChange, reinterpret_cast<TDataEventInfo>(field));
    }

    void SetRecNo(int value) override
    {
        CheckBrowseMode();
        if (value < 1 || value > RowCount() || value == RecNo())
            return;
        DoBeforeScroll();
        current_ = value - 1;
        Resync({rmCenter});
        DoAfterScroll();
    }

    // Blob values live beside the rows; an edit keeps its written values apart until posted.
    std::unique_ptr<TStream> CreateBlobStream(TField *field, TBlobStreamMode mode) override
    {
        if (mode != bmRead && !IsEditState(State()))
            DatabaseError(SNotEditing, this);
        auto stream = std::make_unique<BlobStream>(*this, field, mode != bmRead);
        if (mode == bmRead) {
            const std::string value = blobValue(field);
            stream->WriteBuffer(value.data(), static_cast<std::int64_t>(value.size()));
            stream->SetPosition(0);
            stream->written = false;
        }
        return stream;
    }

    void SetFiltered(bool filtered) override
    {
        TDataSet::SetFiltered(filtered);
        if (Active())
            First();
    }

protected:
    struct Header {
        std::int32_t row;
        std::int32_t id;
        TBookmarkFlag flag;
    };
    static constexpr int HeaderSize = 12;

    TRecordBuffer AllocRecordBuffer() override { return new std::uint8_t[static_cast<std::size_t>(recordSize_)](); }
    void FreeRecordBuffer(TRecordBuffer &buffer) override
    {
        delete[] buffer;
        buffer = nullptr;
    }
    int GetRecordSize() const override { return recordSize_; }

    TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override
    {
        switch (mode) {
        case gmNext:
            do {
                if (current_ >= RowCount() - 1) {
                    current_ = RowCount();
                    return grEOF;
                }
                ++current_;
            } while (!accepted(current_));
            break;
        case gmPrior:
            do {
                if (current_ <= 0) {
                    current_ = -1;
                    return grBOF;
                }
                --current_;
            } while (!accepted(current_));
            break;
        case gmCurrent:
            if (current_ < 0 || current_ >= RowCount() || !accepted(current_)) {
                if (doCheck)
                    DatabaseError(SRecordNotFound, this);
                return grError;
            }
            break;
        }
        const Row &row = rows_[static_cast<std::size_t>(current_)];
        std::memcpy(buffer + HeaderSize, row.data.data(), row.data.size());
        header(buffer) = Header{current_, row.id, bfCurrent};
        GetCalcFields(buffer);
        return grOK;
    }

    void InternalInitRecord(TRecordBuffer buffer) override { std::memset(buffer, 0, static_cast<std::size_t>(recordSize_)); }
    void GetBookmarkData(TRecordBuffer buffer, void *data) override { std::memcpy(data, &header(buffer).id, sizeof(std::int32_t)); }
    void SetBookmarkData(TRecordBuffer buffer, const void *data) override { header(buffer).id = idOf(data); }
    TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override { return header(buffer).flag; }
    void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override { header(buffer).flag = flag; }

    void InternalOpen() override
    {
        if (DefaultFields())
            CreateFields();
        BindFields(true);
        // Data fields by number, each a null byte and its data; the calculated part behind.
        placeOfNumber_.clear();
        dataSize_ = 0;
        for (const auto &field : Fields()) {
            if (field->FieldNo() > 0) {
                placeOfNumber_.resize(static_cast<std::size_t>(field->FieldNo()) + 1, -1);
                placeOfNumber_[static_cast<std::size_t>(field->FieldNo())] = dataSize_;
                dataSize_ += field->DataSize() + 1;
            }
        }
        recordSize_ = HeaderSize + dataSize_ + CalcFieldsSize();
        for (Row &row : rows_)
            row.data.resize(static_cast<std::size_t>(dataSize_));
        SetBookmarkSize(sizeof(std::int32_t));
        current_ = -1;
        open_ = true;
    }

    void InternalClose() override
    {
        calls.push_back("close");
        BindFields(false);
        if (DefaultFields())
            DestroyFields();
        open_ = false;
    }

    void InternalInitFieldDefs() override {}
    bool IsCursorOpen() const override { return open_; }
    void InternalFirst() override { current_ = -1; }
    void InternalLast() override { current_ = RowCount(); }

    void InternalAddRecord(TRecordBuffer buffer, bool append) override
    {
        insertRow(append ? RowCount() : std::max(current_, 0), buffer);
    }

    void InternalDelete() override
    {
        calls.push_back("delete");
        rows_.erase(rows_.begin() + current_);
    }

    void InternalPost() override
    {
        TDataSet::InternalPost();
        calls.push_back("post");
        const TRecordBuffer buffer = ActiveBuffer();
        if (State() == dsEdit) {
            std::memcpy(rows_[static_cast<std::size_t>(current_)].data.data(), buffer + HeaderSize,
                        static_cast<std::size_t>(dataSize_));
            return;
        }
        // An insert goes before the record it was begun at; an append at the end.
        const TBookmarkFlag flag = GetBookmarkFlag(buffer);
        insertRow(flag == bfEOF || current_ < 0 ? RowCount() : std::min(current_, RowCount()), buffer);
    }

    void DoAfterPost() override
    {
        // The posted record is current now; its blob values go with it.
        for (auto &[fieldNo, value] : editedBlobs_)
            blobs_[header(ActiveBuffer()).id][fieldNo] = value;
        editedBlobs_.clear();
        TDataSet::DoAfterPost();
    }

    void InternalEdit() override { calls.push_back("edit"); }
    void InternalInsert() override { calls.push_back("insert"); }
    void InternalCancel() override
    {
        calls.push_back("cancel");
        editedBlobs_.clear();
    }
    void CloseBlob(TField *field) override { calls.push_back("closeblob " + field->FieldName()); }

    void InternalGotoBookmark(const void *bookmark) override
    {
        const int row = rowOfId(idOf(bookmark));
        if (row < 0)
            DatabaseError(SBookmarkMissing, this);
        current_ = row;
    }

    void InternalSetToRecord(TRecordBuffer buffer) override
    {
        const int row = rowOfId(header(buffer).id);
        if (row >= 0)
            current_ = row;
    }

    void ClearCalcFields(TRecordBuffer buffer) override
    {
        std::memset(buffer + HeaderSize + dataSize_, 0, static_cast<std::size_t>(CalcFieldsSize()));
    }

    int GetRecNo() const override
    {
        const TRecordBuffer buffer = ActiveBuffer();
        if (!buffer || IsEmpty() || State() == dsInsert)
            return -1;
        return header(buffer).row + 1;
    }

    int GetRecordCount() const override
    {
        CheckActive();
        return RowCount();
    }

private:
    class BlobStream : public TMemoryStream {
    public:
        BlobStream(ArrayDataSet &owner, TField *field, bool writing) : owner_(owner), field_(field), written(writing) {}
        ~BlobStream() override
        {
            if (written)
                owner_.storeBlob(field_, std::string(Memory(), static_cast<std::size_t>(Size())));
        }
        std::int64_t Write(const void *buffer, std::int64_t count) override
        {
            written = true;
            return TMemoryStream::Write(buffer, count);
        }

    private:
        ArrayDataSet &owner_;
        TField *field_;

    public:
        bool written;
    };

    std::string blobValue(TField *field)
    {
        const auto edited = editedBlobs_.find(field->FieldNo());
        if (IsEditState(State()) && edited != editedBlobs_.end())
            return edited->second;
        const TRecordBuffer buffer = ActiveBuffer();
        if (!buffer || IsEmpty())
            return {};
        return blobs_[header(buffer).id][field->FieldNo()];
    }

    void storeBlob(TField *field, const std::string &value)
    {
        editedBlobs_[field->FieldNo()] = value;
        recordForState()[placeOf(field)] = value.empty() ? 0 : 1;
        DataEvent(deFieldChange, reinterpret_cast<TDataEventInfo>(field));
    }

    struct Row {
        std::int32_t id;
        std::vector<std::uint8_t> data;
    };

    static Header &header(TRecordBuffer buffer) { return *reinterpret_cast<Header *>(buffer); }
    static std::int32_t idOf(const void *bookmark)
    {
        std::int32_t id;
        std::memcpy(&id, bookmark, sizeof id);
        return id;
    }

    int rowOfId(std::int32_t id) const
    {
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].id == id)
                return static_cast<int>(i);
        return -1;
    }

    void insertRow(int at, TRecordBuffer buffer)
    {
        Row row{nextId_++, std::vector<std::uint8_t>(buffer + HeaderSize, buffer + HeaderSize + dataSize_)};
        rows_.insert(rows_.begin() + at, std::move(row));
        current_ = at;
    }

    int placeOf(const TField *field) const
    {
        if (field->FieldNo() > 0)
            return HeaderSize + placeOfNumber_[static_cast<std::size_t>(field->FieldNo())];
        return HeaderSize + dataSize_ + field->Offset();
    }

    TRecordBuffer recordForState() const
    {
        switch (State()) {
        case dsCalcFields:
            return CalcBuffer();
        case dsFilter:
            return filterBuffer_;
        case dsBrowse:
        case dsBlockRead:
            return IsEmpty() ? nullptr : ActiveBuffer();
        default:
            return ActiveBuffer();
        }
    }

    // Runs action with field reads showing the given row.
    template <class Action> void withRow(int row, Action action)
    {
        std::vector<std::uint8_t> record(static_cast<std::size_t>(recordSize_), 0);
        std::memcpy(record.data() + HeaderSize, rows_[static_cast<std::size_t>(row)].data.data(),
                    static_cast<std::size_t>(dataSize_));
        const TDataSetState saved = SetTempState(dsFilter);
        filterBuffer_ = record.data();
        try {
            action();
        } catch (...) {
            RestoreState(saved);
            throw;
        }
        RestoreState(saved);
    }

    bool accepted(int row)
    {
        if (!Filtered() || !OnFilterRecord)
            return true;
        bool accept = true;
        withRow(row, [&] { OnFilterRecord(*this, accept); });
        return accept;
    }

    int findRow(const std::string &keyFields, const Variant &keyValues, TLocateOptions options)
    {
        const std::vector<TField *> fields = GetFieldList(keyFields);
        for (int row = 0; row < RowCount(); ++row) {
            bool match = accepted(row);
            withRow(row, [&] {
                for (std::size_t i = 0; match && i < fields.size(); ++i) {
                    const Variant key = fields.size() == 1 ? keyValues : keyValues.Element(static_cast<int>(i));
                    if (key.IsString()) {
                        std::string value = fields[i]->AsString(), wanted = key.AsString();
                        if (options.Contains(loPartialKey))
                            value = value.substr(0, wanted.size());
                        match = options.Contains(loCaseInsensitive) ? CompareText(value, wanted) == 0 : value == wanted;
                    } else {
                        match = VarCompareValue(fields[i]->AsVariant(), key) == vrEqual;
                    }
                }
            });
            if (match)
                return row;
        }
        return -1;
    }

    std::vector<Row> rows_;
    std::map<std::int32_t, std::map<int, std::string>> blobs_;
    std::map<int, std::string> editedBlobs_;
    std::vector<int> placeOfNumber_;
    std::int32_t nextId_ = 1;
    int current_ = -1;
    int dataSize_ = 0;
    int recordSize_ = HeaderSize;
    bool open_ = false;
    TRecordBuffer filterBuffer_ = nullptr;
};
