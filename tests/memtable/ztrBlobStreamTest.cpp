#include "memtable/ztrBlobStream.h"

#include "memtable/ztrTestTables.h"
#include "platform/Classes.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// Notes: id (integer) and szoveg (memo), one note "régi".
class Notes : public ::testing::Test {
protected:
    Notes()
    {
        table.FieldDefs().Add("id", ftInteger);
        table.FieldDefs().Add("szoveg", ftMemo);
        table.Open();
        table.AppendRecord({1, "régi"});
        text = table.FieldByName("szoveg");
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
