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

template <class Action> std::string messageOf(Action action)
{
    try {
        action();
    } catch (const Exception &error) {
        return error.what();
    }
    return {};
}

} // namespace

TEST(BlobStream, WrittenBytesAreStoredWithThePostedRecord)
{
    TztrMemTable table;
    openNotes(table);
    table.Append();
    write(*openBlob(table, bmWrite), std::string("a\0b", 3));
    table.Post();

    table.First();
    EXPECT_EQ(text(table).AsString(), std::string("a\0b", 3));
    EXPECT_EQ(static_cast<TBlobField &>(text(table)).BlobSize(), 3);
}

TEST(BlobStream, ReadingStartsAtTheBeginningOfTheValue)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "hello");

    auto stream = openBlob(table, bmRead);
    EXPECT_EQ(stream->Position(), 0);
    EXPECT_EQ(contents(*stream), "hello");
}

TEST(BlobStream, WriteStreamLeftEmptyMakesTheFieldNull)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "régi");

    table.Edit();
    openBlob(table, bmWrite);
    EXPECT_TRUE(text(table).IsNull());
    table.Post();

    EXPECT_TRUE(text(table).IsNull());
    EXPECT_EQ(text(table).AsString(), "");
}

TEST(BlobStream, ReadOnlyStreamChangesNothing)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "eredeti");
    table.Edit();
    bool changed = false;
    text(table).OnChange = [&](TField &) { changed = true; };

    {
        auto stream = openBlob(table, bmRead);
        stream->SetPosition(0);
        write(*stream, "felülírva");
    }
    table.Post();

    EXPECT_FALSE(changed);
    EXPECT_EQ(text(table).AsString(), "eredeti");
}

TEST(BlobStream, ReadWriteStreamExtendsTheValue)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "abc");

    table.Edit();
    {
        auto stream = openBlob(table, bmReadWrite);
        EXPECT_EQ(contents(*stream), "abc");
        write(*stream, "def");
    }
    table.Post();

    EXPECT_EQ(text(table).AsString(), "abcdef");
}

TEST(BlobStream, TruncatingAReadWriteStreamShortensTheValue)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "abcdef");

    table.Edit();
    openBlob(table, bmReadWrite)->SetSize(2);
    table.Post();

    EXPECT_EQ(text(table).AsString(), "ab");
}

TEST(BlobStream, WriteBackAnnouncesTheFieldChange)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "a");
    table.Edit();
    int changes = 0;
    text(table).OnChange = [&](TField &) { ++changes; };

    write(*openBlob(table, bmWrite), "b");

    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(table.Modified());
    EXPECT_TRUE(static_cast<TBlobField &>(text(table)).Modified());
    table.Cancel();
}

TEST(BlobStream, WritingOutsideEditModeIsRefused)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "a");

    EXPECT_EQ(messageOf([&] { openBlob(table, bmWrite); }), "A dataset nincs Edit módban.");
    EXPECT_THROW(openBlob(table, bmReadWrite), EDatabaseError);
    EXPECT_EQ(contents(*openBlob(table, bmRead)), "a");
}

TEST(BlobStream, WritingAReadOnlyFieldIsRefused)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "a");
    text(table).SetDisplayLabel(cp1250("Szöveg"));
    text(table).SetReadOnly(true);
    table.Edit();

    EXPECT_EQ(messageOf([&] { openBlob(table, bmWrite); }), "A(z) Szöveg mező írásvédett.");
    table.Cancel();
    EXPECT_EQ(text(table).AsString(), "a");
}

TEST(BlobStream, CancelledEditKeepsTheStoredValue)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "megmarad");

    table.Edit();
    text(table).SetAsString("eldobva");
    EXPECT_EQ(text(table).AsString(), "eldobva");
    table.Cancel();

    EXPECT_EQ(text(table).AsString(), "megmarad");
}

TEST(BlobStream, CancelledInsertLeavesNoValueBehind)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "első");

    table.Append();
    text(table).SetAsString("eldobva");
    table.Cancel();
    table.Append();

    EXPECT_TRUE(text(table).IsNull());
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 1);
}

TEST(BlobStream, ValuesPassThroughTheCompressionHandlers)
{
    TztrMemTable table;
    openNotes(table);
    auto reversed = [](TztrCustomMemTable &, TStream &from, TStream &to) {
        std::string bytes = contents(from);
        std::reverse(bytes.begin(), bytes.end());
        write(to, bytes);
    };
    table.OnCompressBlobStream = reversed;
    appendNote(table, 1, "abc");

    // Without the matching handler the stored form shows.
    EXPECT_EQ(text(table).AsString(), "cba");
    table.OnDecompressBlobStream = reversed;
    EXPECT_EQ(text(table).AsString(), "abc");
}

TEST(BlobStream, AFailingWriteBackIsRaisedByThePostAndLeavesTheOldValue)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "régi");
    table.OnCompressBlobStream = [](TztrCustomMemTable &, TStream &, TStream &) {
        throw EStreamError("tele");
    };

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
}

TEST(BlobStream, EveryTableOnTheStoreSeesThePostedValue)
{
    TztrMemTable owner;
    owner.SetAttachMaxCount(2);
    openNotes(owner);
    TztrMemTable view;
    view.SetAttachedTo(&owner);
    view.Open();

    appendNote(owner, 1, "közös");
    view.First();

    EXPECT_EQ(text(view).AsString(), "közös");
}

TEST(BlobStream, BlobsCopyBetweenTables)
{
    TztrMemTable source;
    openNotes(source);
    appendNote(source, 1, std::string(1000, 'x'));
    appendNote(source, 2, "");
    TztrMemTable table;
    openNotes(table);

    table.LoadFromDataSet(source, {});

    table.First();
    EXPECT_EQ(text(table).AsString(), std::string(1000, 'x'));
    table.Next();
    EXPECT_TRUE(text(table).IsNull());
}

TEST(BlobStream, ReadOnlyBlobFieldsAreFilledWhileLoading)
{
    TztrMemTable source;
    openNotes(source);
    appendNote(source, 1, "betöltve");
    TztrMemTable table;
    openNotes(table);
    text(table).SetReadOnly(true);

    table.LoadFromDataSet(source, {});

    EXPECT_EQ(text(table).AsString(), "betöltve");
}

TEST(BlobStream, BlobsSurviveADataFileRoundTrip)
{
    TztrMemTable source;
    openNotes(source);
    appendNote(source, 1, "első sor\nmásodik sor");
    appendNote(source, 2, "");
    TztrCSVStreamFormat csv;
    TMemoryStream file;
    source.SaveToStreamViaFormat(file, &csv);
    TztrMemTable table;
    openNotes(table);

    table.LoadFromStreamViaFormat(file, &csv);

    table.First();
    EXPECT_EQ(text(table).AsString(), "első sor\nmásodik sor");
    table.Next();
    EXPECT_TRUE(text(table).IsNull());
}

TEST(BlobStream, NonBlobFieldsHaveNoStream)
{
    TztrMemTable table;
    openNotes(table);
    appendNote(table, 1, "a");

    EXPECT_EQ(table.CreateBlobStream(table.FieldByName("id"), bmRead), nullptr);
}
