#include "memtable/ztrBlobStream.h"

#include "memtable/ztrMemCSVStreamFormat.h"
#include "memtable/ztrTestTables.h"
#include "platform/Classes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// Notes: id (integer) and szoveg (memo).
void openNotes(TztrMemTable &table)
{
    table.FieldDefs().Add("id", ftInteger);
    table.FieldDefs().Add("szoveg", ftMemo);
    table.Open();
}

void appendNote(TztrMemTable &table, int id, const std::string &text)
{
    table.Append();
    table.FieldByName("id")->SetAsInteger(id);
    table.FieldByName("szoveg")->SetAsString(text);
    table.Post();
}

TField &text(TztrMemTable &table)
{
    return *table.FieldByName("szoveg");
}

std::unique_ptr<TStream> openBlob(TztrMemTable &table, TBlobStreamMode mode)
{
    return table.CreateBlobStream(&text(table), mode);
}

void write(TStream &stream, const std::string &bytes)
{
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

std::string contents(TStream &stream)
{
    std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

} // namespace

TEST(BlobStream, EachModeReadsWritesOrExtendsTheValueOfThePostedRecord)
{
    TztrMemTable table;
    openNotes(table);
    table.Append();
    write(*openBlob(table, bmWrite), std::string("a\0b", 3));
    table.Post();
    table.First();
    EXPECT_EQ(text(table).AsString(), std::string("a\0b", 3));
    EXPECT_EQ(static_cast<TBlobField &>(text(table)).BlobSize(), 3);
    auto reading = openBlob(table, bmRead);
    EXPECT_EQ(reading->Position(), 0);
    EXPECT_EQ(contents(*reading), std::string("a\0b", 3));
    EXPECT_EQ(table.CreateBlobStream(table.FieldByName("id"), bmRead), nullptr);

    table.Edit();
    bool changed = false;
    text(table).OnChange = [&](TField &) { changed = true; };
    {
        auto stream = openBlob(table, bmRead);
        write(*stream, "overwritten");
    }
    EXPECT_FALSE(changed) << "a read stream writes nothing back";
    {
        auto stream = openBlob(table, bmReadWrite);
        EXPECT_EQ(contents(*stream), std::string("a\0b", 3));
        write(*stream, "def");
    }
    EXPECT_TRUE(changed);
    EXPECT_TRUE(table.Modified());
    table.Post();
    EXPECT_EQ(text(table).AsString(), std::string("a\0bdef", 6));
    table.Edit();
    openBlob(table, bmReadWrite)->SetSize(2);
    table.Post();
    EXPECT_EQ(text(table).AsString(), std::string("a\0", 2));
    table.Edit();
    openBlob(table, bmWrite);
    EXPECT_TRUE(text(table).IsNull()) << "a write stream left empty makes the field null";
    table.Post();
    EXPECT_TRUE(text(table).IsNull());
}

TEST(BlobStream, RefusedFailedOrCancelledWritesLeaveTheOldValue)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "régi");
    EXPECT_EQ(messageOf([&] { openBlob(table, bmWrite); }), "A dataset nincs Edit módban.");
    EXPECT_THROW(openBlob(table, bmReadWrite), EDatabaseError);
    table.Edit();
    text(table).SetAsString("eldobva");
    EXPECT_EQ(text(table).AsString(), "eldobva");
    table.Cancel();
    table.Append();
    text(table).SetAsString("eldobva");
    table.Cancel();
    table.Append();
    EXPECT_TRUE(text(table).IsNull()) << "a cancelled insert leaves no value behind";
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 1);

    // A write-back that fails is raised by the post.
    table.OnCompressBlobStream = [](TztrCustomMemTable &, TStream &, TStream &) { throw EStreamError("tele"); };
    table.Edit();
    write(*openBlob(table, bmWrite), "új");
    EXPECT_EQ(messageOf([&] { table.Post(); }), "tele");
    EXPECT_EQ(table.State(), dsEdit);
    table.Cancel();
    EXPECT_EQ(text(table).AsString(), "régi");
    table.Edit();
    table.FieldByName("id")->SetAsInteger(2);
    table.Post();
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 2);

    text(table).SetDisplayLabel(cp1250("Szöveg"));
    text(table).SetReadOnly(true);
    table.Edit();
    EXPECT_EQ(messageOf([&] { openBlob(table, bmWrite); }), "A(z) Szöveg mező írásvédett.");
    table.Cancel();
    EXPECT_EQ(text(table).AsString(), "régi");
}
