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
