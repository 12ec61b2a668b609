#include "memtable/ztrMemCSVStreamFormat.h"

#include "ztrStreamTestTables.h"

#include <gtest/gtest.h>

TEST(CsvFormatSettings, NewFormatQuotesWithCommasAndKeepsUserSettingsOff)
{
    const TztrCSVStreamFormat format;
    EXPECT_EQ(format.CommentChar(), '\0');
    EXPECT_EQ(format.EscapeChar(), '%');
    EXPECT_EQ(format.DefaultStringFieldSize(), 255);
    EXPECT_EQ(format.CSVQuote(), '"');
    EXPECT_EQ(format.CSVFieldDelimiter(), ',');
    EXPECT_EQ(format.CSVRecordDelimiter(), ',');
    EXPECT_EQ(format.CSVTrueString(), "True");
    EXPECT_EQ(format.CSVFalseString(), "False");
    EXPECT_TRUE(format.sfLocalFormat().Empty());
    EXPECT_TRUE(format.sfQuoteOnlyStrings().Empty());
    EXPECT_TRUE(format.sfNoHeader().Empty());
    EXPECT_TRUE(format.sfPlaceHolders().Empty());
    EXPECT_EQ(format.Version(), "3.10");
    EXPECT_TRUE(format.sfDef() == (TztrStreamFlagsDef{sfSaveDef, sfLoadDef}));
}

TEST(CsvFormatSettings, FieldDelimiterCannotBeNul)
{
    TztrCSVStreamFormat format;
    format.SetCSVFieldDelimiter('\t');
    format.SetCSVFieldDelimiter('\0');
    EXPECT_EQ(format.CSVFieldDelimiter(), '\t');
}

TEST(CsvFormatSettings, AssignCopiesTheLayoutButNotCommentsEscapesOrHeaders)
{
    TztrCSVStreamFormat source;
    source.SetCommentChar(';');
    source.SetEscapeChar('\\');
    source.SetDefaultStringFieldSize(40);
    source.SetCSVQuote('\0');
    source.SetCSVFieldDelimiter('\t');
    source.SetCSVRecordDelimiter('\0');
    source.SetCSVTrueString("igen");
    source.SetCSVFalseString("nem");
    source.SetsfLocalFormat({sfSaveLocalFormat, sfLoadLocalFormat});
    source.SetsfQuoteOnlyStrings({sfSaveQuoteOnlyStrings});
    source.SetsfNoHeader({sfSaveNoHeader});
    source.SetsfPlaceHolders({sfSavePlaceholders});
    source.SetsfDef({});

    TztrCSVStreamFormat target;
    target.Assign(source);
    EXPECT_EQ(target.CSVQuote(), '\0');
    EXPECT_EQ(target.CSVFieldDelimiter(), '\t');
    EXPECT_EQ(target.CSVRecordDelimiter(), '\0');
    EXPECT_EQ(target.CSVTrueString(), "igen");
    EXPECT_EQ(target.CSVFalseString(), "nem");
    EXPECT_TRUE(target.sfLocalFormat() == source.sfLocalFormat());
    EXPECT_TRUE(target.sfPlaceHolders() == source.sfPlaceHolders());
    EXPECT_TRUE(target.sfDef().Empty());

    EXPECT_EQ(target.CommentChar(), '\0');
    EXPECT_EQ(target.EscapeChar(), '%');
    EXPECT_EQ(target.DefaultStringFieldSize(), 255);
    EXPECT_TRUE(target.sfQuoteOnlyStrings().Empty());
    EXPECT_TRUE(target.sfNoHeader().Empty());
}

TEST(CsvFormatSettings, AssignFromPlainFormatTakesOnlyTheFlagSets)
{
    TztrCustomStreamFormat source;
    source.SetsfBlobs({});
    TztrCSVStreamFormat target;
    target.SetCSVQuote('\'');
    target.Assign(source);
    EXPECT_TRUE(target.sfBlobs().Empty());
    EXPECT_EQ(target.CSVQuote(), '\'');
}

TEST(CsvFixedSettings, NumbersAndDatesReadTheSameEverywhere)
{
    TFormatSettings user = TFormatSettings::FromLocale("hu_HU");
    user.DecimalSeparator = ',';
    user.ThousandSeparator = ' ';
    user.DateSeparator = '.';
    user.ShortDateFormat = "yyyy.mm.dd.";
    user.LongTimeFormat = "hh:nn:ss";
    user.CurrencyString = "Ft";
    const TFormatSettings fixed = CSVFixedFormatSettings(user);

    EXPECT_EQ(FloatToStr(1234.5, fixed), "1234.5");
    EXPECT_EQ(StrToFloat("1234.5", fixed), 1234.5);
    const TDateTime moment = EncodeDate(2025, 9, 8) + EncodeTime(7, 45, 0, 0);
    EXPECT_EQ(DateToStr(moment, fixed), "08/09/2025");
    EXPECT_EQ(DateTimeToStr(moment, fixed), "08/09/2025 07:45:00");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2025, 9, 8), fixed), "08/09/2025");
    EXPECT_EQ(static_cast<double>(StrToDateTime("08/09/2025 07:45:00", fixed)), static_cast<double>(moment));
    EXPECT_EQ(CurrToStrF(Currency(-12), 2, fixed), "-12.00");
}

TEST(CsvWorkedExample, RoomsAreSavedByteForByte)
{
    using namespace streamtest;
    TztrMemTable table;
    makeRoomTable(table);
    addExampleRooms(table);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    TStringStream out;
    table.SaveToStreamViaFormat(out, &csv);
    EXPECT_EQ(out.DataString(), ExampleRoomFile);
}

using namespace streamtest;

namespace {

std::string saveToText(TztrCustomMemTable &table, TztrCustomStreamFormat &format)
{
    TStringStream out;
    table.SaveToStreamViaFormat(out, &format);
    return out.DataString();
}

void loadFromText(TztrCustomMemTable &table, TztrCustomStreamFormat &format, const std::string &text)
{
    TStringStream in(text);
    table.LoadFromStreamViaFormat(in, &format);
}

// Values of every field of every record, in index order, "null" for a null value.
std::vector<std::vector<std::string>> contentsOf(TztrCustomMemTable &table)
{
    std::vector<std::vector<std::string>> rows;
    for (table.First(); !table.Eof(); table.Next()) {
        std::vector<std::string> row;
        for (const auto &field : table.Fields())
            row.push_back(field->IsNull() ? "null" : field->AsString());
        rows.push_back(row);
    }
    return rows;
}

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A message held by an exception of type E raised by action; empty when none was raised.
template <class E, class Action> std::string messageOf(Action action)
{
    try {
        action();
    } catch (const E &error) {
        return error.Message();
    }
    return {};
}

} // namespace

TEST(CsvWorkedExample, NodefWritesTheHeaderAndTheRecordsOnly)
{
    TztrMemTable table;
    makeRoomTable(table);
    addExampleRooms(table);
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    EXPECT_EQ(saveToText(table, nodef), ExampleRoomFileNodef);
}

TEST(CsvWorkedExample, LoadsIntoAnEmptyTableWithTheSameResult)
{
    TztrMemTable source;
    makeRoomTable(source);
    addExampleRooms(source);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);

    TztrMemTable table;
    loadFromText(table, csv, ExampleRoomFile);
    ASSERT_TRUE(table.Active());
    ASSERT_EQ(table.FieldCount(), 5);
    EXPECT_EQ(table.FieldByName("terem_id")->DataType(), ftAutoInc);
    EXPECT_EQ(table.FieldByName("terem_kod")->Size(), 40);
    EXPECT_EQ(table.FieldByName("terem_kapacitas")->DataType(), ftInteger);
    ASSERT_EQ(table.IndexDefs().Count(), 1);
    EXPECT_EQ(table.IndexDefs()[0]->Name(), "terem_id");
    EXPECT_EQ(table.IndexDefs()[0]->Fields(), "terem_id");
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(contentsOf(table), contentsOf(source));
    EXPECT_EQ(saveToText(table, csv), ExampleRoomFile);
}

TEST(CsvLineEnds, LfOnlyCrLfLfAndBlankLinesReadAlike)
{
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    for (const std::string &variant :
         {replaceAll(ExampleRoomFile, "\r\n", "\n"), replaceAll(ExampleRoomFile, "\r\n", "\r\n\n"),
          replaceAll(ExampleRoomFile, "\r\n", "\r\n\r\n\r\n"),
          replaceAll(ExampleRoomFile, "\r\n", "\n") + "\n\n\n"}) {
        TztrMemTable table;
        loadFromText(table, csv, variant);
        EXPECT_EQ(saveToText(table, csv), ExampleRoomFile);
    }
}

TEST(CsvRecordLines, FewerItemsThanTheHeaderLeaveTheOtherFieldsUntouched)
{
    TztrMemTable table;
    makeRoomTable(table);
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    loadFromText(table, nodef,
                 "terem_id\tterem_kod\tterem_hely\tterem_kapacitas\tterem_telephely\r\n"
                 "7\tB-1\r\n"
                 "8\tB-2\tfent\t30\t\r\n");
    const std::vector<std::vector<std::string>> expected = {{"7", "B-1", "null", "null", "null"},
                                                            {"8", "B-2", "fent", "30", "null"}};
    EXPECT_EQ(contentsOf(table), expected);
}

TEST(CsvRecordLines, PercentAndLineBreaksSurviveRoundTrip)
{
    // A NUL cannot stand in a text field (its value ends there); the coding carries it all the
    // same, as its own tests show.
    const std::string tricky = "100% %n \r\n\r%c\n\nend%";
    TztrMemTable table;
    makeRoomTable(table);
    addRoom(table, 1, tricky, std::string("%%"), 1, "\n");
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string saved = saveToText(table, csv);

    TztrMemTable loaded;
    loadFromText(loaded, csv, saved);
    EXPECT_EQ(loaded.FieldByName("terem_kod")->AsString(), tricky);
    EXPECT_EQ(loaded.FieldByName("terem_hely")->AsString(), "%%");
    EXPECT_EQ(loaded.FieldByName("terem_telephely")->AsString(), "\n");
}

TEST(CsvRecordLines, HandEditedLonePercentAtTheEndIsLost)
{
    TztrMemTable table;
    makeRoomTable(table);
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    loadFromText(table, nodef, "terem_id\tterem_kod\r\n1\t50%\r\n");
    EXPECT_EQ(table.FieldByName("terem_kod")->AsString(), "50");
}

TEST(CsvNullsAndEmptyTexts, UnquotedFilesWriteBothAlikeAndLoadNull)
{
    TztrMemTable table;
    makeRoomTable(table);
    addRoom(table, 1, "", std::nullopt, 1, "x");
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string saved = saveToText(table, csv);
    EXPECT_NE(saved.find("\r\n1\t\t\t1\tx\r\n"), std::string::npos) << saved;

    TztrMemTable loaded;
    loadFromText(loaded, csv, saved);
    EXPECT_TRUE(loaded.FieldByName("terem_kod")->IsNull());
    EXPECT_TRUE(loaded.FieldByName("terem_hely")->IsNull());
}

TEST(CsvNullsAndEmptyTexts, DoubleQuotedFilesKeepEmptyTextsApartFromNull)
{
    TztrMemTable table;
    makeRoomTable(table);
    addRoom(table, 1, "", std::nullopt, 1, "x");
    TztrCSVStreamFormat quoted;
    const std::string saved = saveToText(table, quoted);
    EXPECT_NE(saved.find("\r\n\"1\",\"\",,\"1\",\"x\",\r\n"), std::string::npos) << saved;
    EXPECT_TRUE(saved.starts_with("\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n")) << saved;

    TztrMemTable loaded;
    loadFromText(loaded, quoted, saved);
    EXPECT_FALSE(loaded.FieldByName("terem_kod")->IsNull());
    EXPECT_EQ(loaded.FieldByName("terem_kod")->AsString(), "");
    EXPECT_TRUE(loaded.FieldByName("terem_hely")->IsNull());
    EXPECT_EQ(saveToText(loaded, quoted), saved);
}

TEST(CsvValues, BooleanIsTrueOnlyForTheExactTrueString)
{
    TztrMemTable table;
    table.FieldDefs().Add("nev", ftString, 10);
    table.FieldDefs().Add("aktiv", ftBoolean);
    table.Open();
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    loadFromText(table, nodef, "nev\taktiv\r\na\tTrue\r\nb\ttrue\r\nc\tFalse\r\nd\r\n");
    const std::vector<std::vector<std::string>> expected = {
        {"a", "True"}, {"b", "False"}, {"c", "False"}, {"d", "null"}};
    EXPECT_EQ(contentsOf(table), expected);
}

TEST(CsvValues, EveryKindOfValueSurvivesRoundTrip)
{
    TztrMemTable table;
    table.FieldDefs().Add("kis", ftSmallint);
    table.FieldDefs().Add("nagy", ftLargeint);
    table.FieldDefs().Add("tort", ftFloat);
    table.FieldDefs().Add("penz", ftCurrency);
    table.FieldDefs().Add("nap", ftDate);
    table.FieldDefs().Add("ido", ftDateTime);
    table.FieldDefs().Add("igaz", ftBoolean);
    table.FieldDefs().Add("bajt", ftBytes, 4);
    table.FieldDefs().Add("valt", ftVarBytes, 8);
    table.FieldDefs().Add("szeles", ftWideString, 20);
    table.Open();
    table.Append();
    table.FieldByName("kis")->SetAsInteger(-12);
    table.FieldByName("nagy")->SetAsLargeInt(-9000000000LL);
    table.FieldByName("tort")->SetAsFloat(0.1 + 0.2);
    table.FieldByName("penz")->SetAsCurrency(Currency::FromScaled(-123456789));
    table.FieldByName("nap")->SetAsDateTime(EncodeDate(2025, 12, 14));
    table.FieldByName("ido")->SetAsDateTime(EncodeDate(1899, 12, 31) + EncodeTime(7, 45, 0, 0));
    table.FieldByName("igaz")->SetAsBoolean(true);
    table.FieldByName("bajt")->SetAsString(std::string("\0\x01\xFF\n", 4));
    table.FieldByName("valt")->SetAsString("abc");
    table.FieldByName("szeles")->SetAsWideString(u"\u0151\u0171");
    table.Post();
    table.Append();
    table.Post();

    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    TztrCSVStreamFormat quoted;
    for (TztrCSVStreamFormat *format : {&csv, &quoted}) {
        const std::string saved = saveToText(table, *format);
        TztrMemTable loaded;
        loadFromText(loaded, *format, saved);
        EXPECT_EQ(contentsOf(loaded), contentsOf(table));
        loaded.First();
        // Fifteen significant digits travel, as the file's number form has them.
        EXPECT_EQ(loaded.FieldByName("tort")->AsFloat(), 0.3);
        EXPECT_EQ(loaded.FieldByName("szeles")->AsWideString(), u"\u0151\u0171");
    }
}
