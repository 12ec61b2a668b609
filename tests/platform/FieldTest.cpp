#include "ArrayDataSet.h"

#include "platform/FormatSettings.h"
#include "platform/LocaleCompare.h"
#include "platform/TextFields.h"

#include <gtest/gtest.h>

namespace {

// One record with a field of every kind the engine stores, edited under fixed settings.
class FieldValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = FormatSettings();
        FormatSettings() = TFormatSettings::Invariant();
        FormatSettings().ShortDateFormat = "yyyy/mm/dd";
        auto &defs = table.FieldDefs();
        defs.Add("s", ftString, 5);
        defs.Add("i", ftInteger);
        defs.Add("small", ftSmallint);
        defs.Add("w", ftWord);
        defs.Add("big", ftLargeint);
        defs.Add("f", ftFloat);
        defs.Add("c", ftCurrency);
        defs.Add("bcd", ftBCD, 2);
        defs.Add("fmt", ftFMTBcd, 6);
        defs.Add("b", ftBoolean);
        defs.Add("d", ftDate);
        defs.Add("t", ftTime);
        defs.Add("dt", ftDateTime);
        defs.Add("ws", ftWideString, 4);
        defs.Add("bytes", ftBytes, 3);
        defs.Add("vb", ftVarBytes, 4);
        defs.Add("ts", ftTimeStamp);
        defs.Add("g", ftGuid, 38);
        defs.Add("ai", ftAutoInc);
        table.Open();
        table.Append();
    }

    void TearDown() override { FormatSettings() = saved; }

    TField *field(const char *name) { return table.FieldByName(name); }

    TFormatSettings saved;
    ArrayDataSet table;
};

} // namespace

TEST_F(FieldValues, EachTypeGetsItsFieldClassAndNativeWidthAndNewFieldsAreNull)
{
    EXPECT_NE(dynamic_cast<TStringField *>(field("s")), nullptr);
    EXPECT_NE(dynamic_cast<TAutoIncField *>(field("ai")), nullptr);
    EXPECT_NE(dynamic_cast<TGuidField *>(field("g")), nullptr);
    EXPECT_NE(dynamic_cast<TSQLTimeStampField *>(field("ts")), nullptr);
    EXPECT_NE(dynamic_cast<TFMTBCDField *>(field("fmt")), nullptr);
    EXPECT_EQ(field("s")->DataSize(), 6);
    EXPECT_EQ(field("small")->DataSize(), 2);
    EXPECT_EQ(field("b")->DataSize(), 2);
    EXPECT_EQ(field("d")->DataSize(), 4);
    EXPECT_EQ(field("dt")->DataSize(), 8);
    EXPECT_EQ(field("bcd")->DataSize(), 34);
    EXPECT_EQ(field("ws")->DataSize(), 12);
    EXPECT_EQ(field("vb")->DataSize(), 6);
    EXPECT_EQ(field("ts")->DataSize(), 16);
    EXPECT_EQ(field("g")->DataSize(), 39);
    EXPECT_EQ(field("i")->Size(), 0);
    EXPECT_EQ(field("bcd")->Size(), 2);
    for (const auto &f : table.Fields()) {
        EXPECT_TRUE(f->IsNull()) << f->FieldName();
        EXPECT_TRUE(f->AsVariant().IsNull()) << f->FieldName();
    }
    EXPECT_EQ(field("s")->AsString(), "");
    EXPECT_EQ(field("i")->AsInteger(), 0);
    EXPECT_EQ(field("i")->Text(), "");
}

TEST_F(FieldValues, StringsIntegersFloatsAndCurrenciesConvertAndCheckTheirValues)
{
    field("s")->SetAsString("abcdefg");
    EXPECT_EQ(field("s")->AsString(), "abcde");
    field("s")->SetAsInteger(-12);
    EXPECT_EQ(field("s")->AsInteger(), -12);
    field("s")->SetAsString("x1");
    EXPECT_THROW(field("s")->AsInteger(), EConvertError);
    field("s")->SetAsString("");
    EXPECT_FALSE(field("s")->IsNull());
    field("s")->SetAsString("\xE1rv\xEDz");
    EXPECT_EQ(field("s")->AsWideString(), u"árvíz");
    field("s")->Clear();
    EXPECT_TRUE(field("s")->IsNull());
    field("i")->SetAsString(" 42 ");
    EXPECT_EQ(field("i")->AsInteger(), 42);
    EXPECT_EQ(field("i")->AsString(), "42");
    EXPECT_DOUBLE_EQ(field("i")->AsFloat(), 42.0);
    field("i")->SetAsFloat(2.5);
    EXPECT_EQ(field("i")->AsInteger(), 2);
    try {
        field("i")->SetAsString("4x");
        FAIL();
    } catch (const EConvertError &error) {
        EXPECT_STREQ(error.what(), "'4x' nem érvényes egész szám a(z) 'i' mezőben");
    }
    EXPECT_THROW(field("small")->SetAsInteger(40000), EDatabaseError);
    EXPECT_THROW(field("w")->SetAsInteger(-1), EDatabaseError);
    field("w")->SetAsInteger(65535);
    EXPECT_EQ(field("w")->AsInteger(), 65535);
    auto *bounded = static_cast<TIntegerField *>(field("i"));
    bounded->SetMinValue(1);
    bounded->SetMaxValue(10);
    EXPECT_THROW(field("i")->SetAsInteger(11), EDatabaseError);
    field("i")->SetAsString("");
    EXPECT_TRUE(field("i")->IsNull());
    field("big")->SetAsString("9000000000");
    EXPECT_EQ(field("big")->AsLargeInt(), 9000000000LL);
    EXPECT_THROW(field("big")->AsInteger(), EDatabaseError);
    field("f")->SetAsString("1.25");
    EXPECT_DOUBLE_EQ(field("f")->AsFloat(), 1.25);
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(field("f")->AsString(), "1,25");
    field("f")->SetAsString("3,5");
    EXPECT_DOUBLE_EQ(field("f")->AsFloat(), 3.5);
    EXPECT_THROW(field("f")->SetAsString("3.5"), EConvertError);
    FormatSettings().DecimalSeparator = '.';
    field("c")->SetAsCurrency(Currency::FromScaled(123456));
    EXPECT_EQ(field("c")->AsString(), "12.3456");
    EXPECT_EQ(field("c")->DisplayText(), "\xA4" "12.35");
    static_cast<TFloatField *>(field("f"))->SetDisplayFormat("0.000");
    EXPECT_EQ(field("f")->DisplayText(), "3.500");
    // The edit text follows the display format until an edit format of its own is given.
    EXPECT_EQ(field("f")->Text(), "3.500");
    static_cast<TFloatField *>(field("f"))->SetEditFormat("0.0");
    EXPECT_EQ(field("f")->Text(), "3.5");
}

// A text from outside the data is never stored as "?" or cut without a word.
TEST_F(FieldValues, TextsWithCharactersCp1250LacksAreRefusedByNameAndLengthsAreCheckedAgainstTheField)
{
    field("s")->SetAsString("abc");
    for (const std::u16string &foreign : {std::u16string(u"a😀"), std::u16string(u"中")}) {
        try {
            field("s")->SetAsWideString(foreign);
            ADD_FAILURE() << "stored";
        } catch (const EDatabaseError &error) {
            const std::string said = error.what();
            EXPECT_NE(said.find(foreign == u"中" ? "„中”" : "„😀”"), std::string::npos) << said;
            EXPECT_NE(said.find("'s'"), std::string::npos) << said;
        }
    }
    EXPECT_EQ(field("s")->AsString(), "abc");
    field("s")->SetAsWideString(u"ő?");
    EXPECT_EQ(field("s")->AsString(), "\xF5?") << "a question mark typed is kept";
    EXPECT_EQ(StorableText(u"Árvíz"), "\xC1rv\xEDz");
    EXPECT_THROW(StorableText(u"\U0001F600"), EDatabaseError);
    EXPECT_NO_THROW(CheckTextFits(*field("s"), 5));
    EXPECT_THROW(CheckTextFits(*field("s"), 6), EDatabaseError);
    EXPECT_THROW(CheckTextFits(*field("ws"), 5), EDatabaseError);
    EXPECT_NO_THROW(CheckTextFits(*field("i"), 50)) << "no text field";
}

TEST_F(FieldValues, BcdDateTimeWideAndBinaryFieldsKeepTheirValues)
{
    field("bcd")->SetAsFloat(12.345);
    EXPECT_EQ(field("bcd")->AsCurrency(), Currency::FromScaled(123500));
    EXPECT_EQ(field("bcd")->AsString(), "12.35");
    EXPECT_EQ(field("bcd")->DisplayText(), "12.35");
    const TBcd stored = field("bcd")->AsBCD();
    EXPECT_EQ(BcdScale(stored), 2);
    field("fmt")->SetAsString("-1234.567891");
    EXPECT_EQ(field("fmt")->AsString(), "-1234.567891");
    EXPECT_EQ(field("fmt")->AsVariant().VarType(), varCurrency);
    EXPECT_THROW(field("fmt")->SetAsString("1e"), EConvertError);
    field("b")->SetAsBoolean(true);
    EXPECT_EQ(field("b")->AsString(), "True");
    field("b")->SetAsString("f");
    EXPECT_FALSE(field("b")->AsBoolean());
    EXPECT_FALSE(field("b")->IsNull());
    auto *flag = static_cast<TBooleanField *>(field("b"));
    flag->SetDisplayValues("Igen;Nem");
    field("b")->SetAsString("igen");
    EXPECT_TRUE(field("b")->AsBoolean());
    EXPECT_EQ(field("b")->DisplayText(), "Igen");
    EXPECT_THROW(field("b")->SetAsString("talán"), EConvertError);
    const TDateTime moment = EncodeDate(2025, 9, 8) + EncodeTime(7, 45, 0, 0);
    field("dt")->SetAsDateTime(moment);
    double native = 0;
    ASSERT_TRUE(field("dt")->GetData(&native));
    EXPECT_DOUBLE_EQ(native, TimeStampToMSecs(DateTimeToTimeStamp(moment)));
    EXPECT_DOUBLE_EQ(field("dt")->AsDateTime(), moment);
    EXPECT_EQ(field("dt")->AsString(), "2025/09/08 07:45:00");

    field("d")->SetAsDateTime(moment);
    std::int32_t day = 0;
    ASSERT_TRUE(field("d")->GetData(&day));
    EXPECT_EQ(day, DateTimeToTimeStamp(moment).Date);
    EXPECT_DOUBLE_EQ(field("d")->AsDateTime(), EncodeDate(2025, 9, 8));

    field("t")->SetAsString("07:45:30");
    std::int32_t msecs = 0;
    ASSERT_TRUE(field("t")->GetData(&msecs));
    EXPECT_EQ(msecs, (7 * 3600 + 45 * 60 + 30) * 1000);
    static_cast<TDateTimeField *>(field("t"))->SetDisplayFormat("hh:nn");
    EXPECT_EQ(field("t")->DisplayText(), "07:45");
    EXPECT_THROW(field("d")->SetAsString("2025/13/01"), EConvertError);
    field("ws")->SetAsWideString(u"őrült idő");
    EXPECT_EQ(field("ws")->AsWideString(), u"őrül");
    std::uint8_t wide[12] = {};
    ASSERT_TRUE(field("ws")->GetData(wide));
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, wide, 4);
    EXPECT_EQ(bytes, 8u);
    EXPECT_EQ(field("ws")->AsString(), "\xF5r\xFCl");
    EXPECT_EQ(field("ws")->AsVariant().VarType(), varOleStr);
    field("bytes")->SetAsString(std::string("a\0b", 3));
    EXPECT_EQ(field("bytes")->AsString(), std::string("a\0b", 3));
    field("vb")->SetAsVariant(Variant(Variant::Bytes{1, 2}));
    EXPECT_EQ(field("vb")->AsVariant().AsBytes(), (Variant::Bytes{1, 2}));
    EXPECT_EQ(field("vb")->AsString().size(), 2u);
    TSQLTimeStamp stamp;
    stamp.Year = 2024;
    stamp.Month = 2;
    stamp.Day = 29;
    stamp.Hour = 23;
    stamp.Minute = 59;
    stamp.Second = 58;
    stamp.Fractions = 7;
    static_cast<TSQLTimeStampField *>(field("ts"))->SetAsSQLTimeStamp(stamp);
    EXPECT_EQ(static_cast<TSQLTimeStampField *>(field("ts"))->AsSQLTimeStamp(), stamp);
    EXPECT_DOUBLE_EQ(field("ts")->AsDateTime(), EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 58, 7));
}

TEST_F(FieldValues, VariantsConvertTextEventsReplaceConversionsAndOnChangeFollowsTheStore)
{
    field("i")->SetAsVariant("17");
    EXPECT_EQ(field("i")->AsInteger(), 17);
    field("f")->SetValue(Variant(3));
    EXPECT_DOUBLE_EQ(field("f")->AsFloat(), 3.0);
    field("d")->SetAsVariant(Variant(TDateTime(45000.0)));
    EXPECT_EQ(field("d")->AsVariant().VarType(), varDate);
    field("i")->SetAsVariant(Variant::Null());
    EXPECT_TRUE(field("i")->IsNull());
    EXPECT_THROW(field("i")->SetAsVariant("x"), EVariantError);
    EXPECT_THROW(field("i")->AsDateTime(), EDatabaseError);
    field("i")->OnGetText = [](TField &sender, std::string &text, bool displayText) {
        text = (displayText ? "#" : "") + sender.AsString();
    };
    field("i")->OnSetText = [](TField &sender, const std::string &text) { sender.SetAsInteger(static_cast<int>(text.size())); };
    field("i")->SetText("abc");
    EXPECT_EQ(field("i")->AsInteger(), 3);
    EXPECT_EQ(field("i")->DisplayText(), "#3");
    EXPECT_EQ(field("i")->Text(), "3");
    field("i")->SetAsInteger(1);
    int seen = 0;
    field("i")->OnValidate = [&](TField &sender) {
        seen = sender.AsInteger();
        if (seen < 0)
            throw EDatabaseError("negative");
    };
    field("i")->SetAsInteger(5);
    EXPECT_EQ(seen, 5);
    EXPECT_THROW(field("i")->SetAsInteger(-3), EDatabaseError);
    EXPECT_EQ(seen, -3);
    EXPECT_EQ(field("i")->AsInteger(), 5);
    int changed = 0;
    field("s")->OnChange = [&](TField &sender) {
        ++changed;
        EXPECT_EQ(sender.AsString(), "új");
    };
    field("s")->SetAsString("új");
    EXPECT_EQ(changed, 1);
}

TEST_F(FieldValues, ReadOnlyFieldsAndUnsupportedAccessAreRefused)
{
    field("s")->SetReadOnly(true);
    EXPECT_FALSE(field("s")->CanModify());
    EXPECT_THROW(field("s")->SetAsString("x"), EDatabaseError);
    try {
        field("d")->AsBoolean();
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_STREQ(error.what(), "Cannot access field 'd' as type Boolean");
    }
}

TEST_F(FieldValues, DisplayPropertiesHaveTheFrameworksDefaults)
{
    EXPECT_EQ(field("s")->DisplayName(), "s");
    field("s")->SetDisplayLabel("Név");
    EXPECT_EQ(field("s")->DisplayName(), "Név");
    EXPECT_EQ(field("s")->DisplayWidth(), 5);
    EXPECT_EQ(field("i")->DisplayWidth(), 10);
    EXPECT_EQ(field("b")->DisplayWidth(), 5);
    EXPECT_EQ(field("i")->Alignment(), taRightJustify);
    EXPECT_EQ(field("s")->Alignment(), taLeftJustify);
    EXPECT_EQ(field("i")->Index(), 1);
    field("i")->SetIndex(0);
    EXPECT_EQ(table.Fields()[0]->FieldName(), "i");
}

TEST(Fields, ADuplicateNameIsRefused)
{
    ArrayDataSet table;
    table.Fields().Add<TIntegerField>("a");
    EXPECT_THROW(table.Fields().Add<TIntegerField>("A"), EDatabaseError);
    std::unique_ptr<TField> removed = table.Fields().Remove(table.FieldByName("a"));
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->DataSet(), nullptr);
    EXPECT_EQ(table.FieldCount(), 0);
}

TEST(Fields, NamesAreFoundWhateverTheirCaseAndOnlyWhole)
{
    ArrayDataSet table;
    for (const char *name : {"kurzus_id", "kurzus_id_csatolt", "Kurzus", "x"})
        table.Fields().Add<TIntegerField>(name);
    // Every field a scan comparing each whole name without case would find, and no other.
    for (const std::string name : {"KURZUS_ID", "kurzus_ID_Csatolt", "kurzus", "X", "kurzus_i", "kurzus_id_",
                                   "kurzus_id_csatoltx", "", "y", "\xc1rv\xedz"}) {
        TField *scanned = nullptr;
        for (int i = 0; i < table.FieldCount() && !scanned; ++i)
            if (CompareText(table.Fields()[i]->FieldName(), name) == 0)
                scanned = table.Fields()[i];
        EXPECT_EQ(table.FindField(name), scanned) << name;
    }
    EXPECT_EQ(table.FieldByName("KURZUS_ID_CSATOLT"), table.Fields()[1]);
    EXPECT_THROW(table.FieldByName("kurzus_"), EDatabaseError);
}

TEST(Fields, EveryStoredTypeHasAFieldClass)
{
    for (TFieldType type : {ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate,
                            ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo,
                            ftFixedChar, ftWideString, ftLargeint, ftADT, ftArray, ftGuid, ftTimeStamp, ftFMTBcd}) {
        std::unique_ptr<TField> created = CreateFieldOfType(type);
        ASSERT_NE(created, nullptr) << FieldTypeNames[type];
        EXPECT_EQ(created->DataType(), type) << FieldTypeNames[type];
        EXPECT_EQ(created->IsBlob(), isBlobType(type)) << FieldTypeNames[type];
    }
    EXPECT_EQ(CreateFieldOfType(ftCursor), nullptr);
}

TEST(BlobFields, ReadAndWriteThroughTheDatasetsBlobStreams)
{
    ArrayDataSet table;
    table.FieldDefs().Add("id", ftInteger);
    table.FieldDefs().Add("note", ftMemo);
    table.FieldDefs().Add("picture", ftGraphic);
    table.Open();
    TField *note = table.FieldByName("note");
    EXPECT_TRUE(note->IsBlob());
    table.Append();
    table.FieldByName("id")->SetAsInteger(1);
    note->SetAsString("els\xF5 sor\r\nm\xE1sodik");
    EXPECT_EQ(note->AsWideString(), u"első sor\r\nmásodik");
    table.Post();
    EXPECT_EQ(note->AsString(), "els\xF5 sor\r\nm\xE1sodik");
    EXPECT_EQ(note->DisplayText(), "(MEMO)");
    EXPECT_EQ(note->Text(), note->AsString());
    EXPECT_EQ(table.FieldByName("picture")->DisplayText(), "(Graphic)");
    EXPECT_EQ(static_cast<TBlobField *>(note)->BlobSize(), 17);
    EXPECT_EQ(note->AsVariant().VarType(), varString);
}

TEST(BlobFields, AnEmptyWriteLeavesTheValueNull)
{
    ArrayDataSet table;
    table.FieldDefs().Add("data", ftBlob);
    table.Open();
    table.Append();
    TField *data = table.FieldByName("data");
    data->SetAsVariant(Variant(Variant::Bytes{0, 1, 2}));
    EXPECT_FALSE(data->IsNull());
    EXPECT_EQ(data->AsVariant().AsBytes(), (Variant::Bytes{0, 1, 2}));
    data->Clear();
    EXPECT_TRUE(data->IsNull());
    TStringStream source("payload");
    static_cast<TBlobField *>(data)->LoadFromStream(source);
    table.Post();
    TStringStream copy;
    static_cast<TBlobField *>(data)->SaveToStream(copy);
    EXPECT_EQ(copy.DataString(), "payload");
}

TEST(BlobFields, CancellingAWrittenBlobClosesIt)
{
    ArrayDataSet table;
    table.FieldDefs().Add("note", ftMemo);
    table.Open();
    table.AppendRecord({"régi"});
    table.Edit();
    table.FieldByName("note")->SetAsString("új");
    table.Cancel();
    EXPECT_NE(std::find(table.calls.begin(), table.calls.end(), "closeblob note"), table.calls.end());
    EXPECT_EQ(table.FieldByName("note")->AsString(), "régi");
    EXPECT_FALSE(static_cast<TBlobField *>(table.FieldByName("note"))->Modified());
}

TEST(Fields, ANameFoundBeforeIsLookedForAgainOnceItsFieldIsRenamedOrRemoved)
{
    ArrayDataSet table;
    TField *a = table.Fields().Add<TIntegerField>("a");
    TField *b = table.Fields().Add<TIntegerField>("b");
    // One buffer naming one field after another, as a caller's reused text does.
    char name[] = "a";
    EXPECT_EQ(table.FindField(name), a);
    name[0] = 'b';
    EXPECT_EQ(table.FindField(name), b);
    b->SetFieldName("c");
    EXPECT_EQ(table.FindField(name), nullptr);
    a->SetFieldName("B");
    EXPECT_EQ(table.FindField(name), a);
    const std::unique_ptr<TField> removed = table.Fields().Remove(a);
    EXPECT_EQ(table.FindField(name), nullptr);
    TField *added = table.Fields().Add<TIntegerField>("b");
    EXPECT_EQ(table.FindField(name), added);
}
