#include "memtable/ztrBlobStream.h"

#include "memtable/ztrMemCSVStreamFormat.h"
#include "memtable/ztrTestTables.h"
#include "platform/Classes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// Notes: id (integer) and szoveg (memo), one note "régi".
class Notes : public ::testing::Test {
protected:
    Notes()
    {
        openNotes(table);
        table.AppendRecord({1, "régi"});
        text = table.FieldByName("szoveg");
    }

    static void openNotes(TztrMemTable &notes)
    {
        notes.FieldDefs().Add("id", ftInteger);
        notes.FieldDefs().Add("szoveg", ftMemo);
        notes.Open();
    }

    std::unique_ptr<TStream> openBlob(TBlobStreamMode mode) { return table.CreateBlobStream(text, mode); }

    static void write(TStream &stream, const std::string &bytes)
    {
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }

    static std::string contents(TStream &stream)
    {
        std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
        stream.SetPosition(0);
        stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        return bytes;
    }

    TztrMemTable table;
    TField *text = nullptr;
};

} // namespace

TEST_F(Notes, EachModeReadsWritesOrExtendsTheValueOfTheRecord)
{
    table.Edit();
    write(*openBlob(bmWrite), std::string("a\0b", 3));
    table.Post();
    EXPECT_EQ(text->AsString(), std::string("a\0b", 3));
    EXPECT_EQ(contents(*openBlob(bmRead)), std::string("a\0b", 3));
    EXPECT_EQ(table.CreateBlobStream(table.FieldByName("id"), bmRead), nullptr);

    table.Edit();
    bool changed = false;
    text->OnChange = [&](TField &) { changed = true; };
    write(*openBlob(bmRead), "overwritten");
    EXPECT_FALSE(changed) << "a read stream writes nothing back";
    {
        auto stream = openBlob(bmReadWrite);
        EXPECT_EQ(contents(*stream), std::string("a\0b", 3));
        write(*stream, "def");
    }
    EXPECT_TRUE(changed);
    table.Post();
    EXPECT_EQ(text->AsString(), std::string("a\0bdef", 6));
    table.Edit();
    openBlob(bmReadWrite)->SetSize(2);
    table.Post();
    EXPECT_EQ(text->AsString(), std::string("a\0", 2));
    table.Edit();
    openBlob(bmWrite);
    EXPECT_TRUE(text->IsNull()) << "a write stream left empty makes the field null";
    table.Post();
    EXPECT_TRUE(text->IsNull());
}

TEST_F(Notes, RefusedFailedOrCancelledWritesLeaveTheOldValue)
{
    EXPECT_EQ(messageOf([&] { openBlob(bmWrite); }), "A dataset nincs Edit módban.");
    EXPECT_THROW(openBlob(bmReadWrite), EDatabaseError);
    table.Append();
    text->SetAsString("eldobva");
    table.Cancel();
    table.Append();
    EXPECT_TRUE(text->IsNull()) << "a cancelled insert leaves no value behind";
    table.Cancel();

    // A write-back that fails is raised by the post.
    table.OnCompressBlobStream = [](TztrCustomMemTable &, TStream &, TStream &) { throw EStreamError("tele"); };
    table.Edit();
    write(*openBlob(bmWrite), "új");
    EXPECT_EQ(messageOf([&] { table.Post(); }), "tele");
    EXPECT_EQ(table.State(), dsEdit);
    table.Cancel();
    EXPECT_EQ(text->AsString(), "régi");

    text->SetDisplayLabel(cp1250("Szöveg"));
    text->SetReadOnly(true);
    table.Edit();
    EXPECT_EQ(messageOf([&] { openBlob(bmWrite); }), "A(z) Szöveg mező írásvédett.");
    table.Cancel();
    EXPECT_EQ(text->AsString(), "régi");
    EXPECT_EQ(table.RecordCount(), 1);
}

TEST_F(Notes, ValuesPassThroughTheCompressionHandlers)
{
    auto reversed = [](TztrCustomMemTable &, TStream &from, TStream &to) {
        std::string bytes = contents(from);
        std::reverse(bytes.begin(), bytes.end());
        write(to, bytes);
    };
    table.OnCompressBlobStream = reversed;
    table.AppendRecord({2, "abc"});

    // Without the matching handler the stored form shows.
    EXPECT_EQ(text->AsString(), "cba");
    table.OnDecompressBlobStream = reversed;
    EXPECT_EQ(text->AsString(), "abc");
}

TEST_F(Notes, BlobsTravelToViewsCopiesAndDataFiles)
{
    const std::string longText = "első sor\nmásodik sor" + std::string(1000, 'x');
    TztrMemTable source;
    source.SetAttachMaxCount(2);
    openNotes(source);
    TztrMemTable view;
    view.SetAttachedTo(&source);
    view.Open();
    source.AppendRecord({1, longText});
    source.AppendRecord({2, ""});
    view.First();
    EXPECT_EQ(view.FieldByName("szoveg")->AsString(), longText);

    TztrMemTable copy;
    openNotes(copy);
    copy.FieldByName("szoveg")->SetReadOnly(true);
    copy.LoadFromDataSet(source, {});
    TztrCSVStreamFormat csv;
    TMemoryStream file;
    source.SaveToStreamViaFormat(file, &csv);
    TztrMemTable loaded;
    openNotes(loaded);
    loaded.LoadFromStreamViaFormat(file, &csv);
    for (TztrMemTable *other : {&copy, &loaded}) {
        other->First();
        EXPECT_EQ(other->FieldByName("szoveg")->AsString(), longText);
        other->Next();
        EXPECT_TRUE(other->FieldByName("szoveg")->IsNull());
    }
}
