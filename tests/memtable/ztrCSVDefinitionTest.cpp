#include "memtable/ztrCSVDefinition.h"

#include "memtable/ztrErrors.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TztrCSVFieldDefinition roomIdDefinition()
{
    TztrCSVFieldDefinition definition;
    definition.FieldName = "terem_id";
    definition.DataType = ftAutoInc;
    definition.DisplayName = "terem_id";
    definition.DisplayWidth = 10;
    return definition;
}

TztrCSVFieldDefinition parse(const std::string &line)
{
    return TztrCSVFieldDefinition::Parse(line, line);
}

} // namespace

TEST(CsvFieldLine, WrittenAsTheDataFilesHoldIt)
{
    EXPECT_EQ(roomIdDefinition().Format(), "terem_id=AutoInc,0,\"terem_id\",\"\",10,Data,\"\"");

    TztrCSVFieldDefinition name;
    name.FieldName = "terem_kod";
    name.DataType = ftString;
    name.Size = 40;
    name.DisplayName = "Terem \"k\xF3"
                       "dja\"";
    name.EditMask = "aaa";
    name.DisplayWidth = 40;
    name.Required = true;
    name.ReadOnly = true;
    name.Visible = false;
    name.FieldKind = fkInternalCalc;
    name.DefaultExpression = "'A-001'";
    EXPECT_EQ(name.Format(), "terem_kod=String,40,\"Terem \"\"k\xF3"
                             "dja\"\"\",\"aaa\",40,REQ,RO,INV,InternalCalc,\"'A-001'\"");
}

TEST(CsvFieldLine, WrittenLineReadsBackTheSame)
{
    TztrCSVFieldDefinition written = roomIdDefinition();
    written.DisplayName = "Azonos\xEDt\xF3, bels\xF5";
    written.Required = true;
    written.Visible = false;
    written.FieldKind = fkCalculated;
    written.DefaultExpression = "0";
    const TztrCSVFieldDefinition read = parse(written.Format());
    EXPECT_EQ(read.FieldName, written.FieldName);
    EXPECT_EQ(read.DataType, written.DataType);
    EXPECT_EQ(read.Size, written.Size);
    EXPECT_EQ(read.DisplayName, written.DisplayName);
    EXPECT_EQ(read.DisplayWidth, written.DisplayWidth);
    EXPECT_TRUE(read.Required);
    EXPECT_FALSE(read.ReadOnly);
    EXPECT_FALSE(read.Visible);
    EXPECT_EQ(read.FieldKind, fkCalculated);
    EXPECT_EQ(read.DefaultExpression, "0");
}

TEST(CsvFieldLine, ShortLinesAndReadOnlyLabelsRead)
{
    const TztrCSVFieldDefinition five = parse("nev=String,60,\"N\xE9v\",\"\",30");
    EXPECT_EQ(five.DataType, ftString);
    EXPECT_EQ(five.Size, 60);
    EXPECT_EQ(five.DisplayName, "N\xE9v");
    EXPECT_EQ(five.DisplayWidth, 30);
    EXPECT_EQ(five.FieldKind, fkData);
    EXPECT_EQ(five.DefaultExpression, "");
    EXPECT_EQ(parse("x=Integer,0,\"x\",\"\",10,Lookup").FieldKind, fkLookup);
    EXPECT_EQ(parse("x=Integer,0,\"x\",\"\",10,Nonsense").FieldKind, fkData);
    EXPECT_EQ(parse("x=Integer,0,\"x\",\"\",10,Aggregate,\"1\"").DefaultExpression, "1");
    const TztrCSVFieldDefinition label = parse("x=String,10,\"a,RO\",\"\",10,Data,\"\"");
    EXPECT_EQ(label.DisplayName, "a,RO");
    EXPECT_TRUE(label.ReadOnly);
    EXPECT_FALSE(label.Required);
}

TEST(CsvFieldLine, UnknownTypesAndSizesThatAreNoNumberAreRefused)
{
    // Type names are compared exactly; a type the format cannot carry counts as unknown.
    for (const std::string type : {"string", "Cursor", "Unknown", "Text", ""}) {
        const std::string line = "x=" + type + ",10,\"x\",\"\",10,Data,\"\"";
        try {
            TztrCSVFieldDefinition::Parse(line, "first item");
            ADD_FAILURE() << type;
        } catch (const EMemTableError &error) {
            EXPECT_EQ(error.Message(), "Ismeretlen mezőtípus (" + type + ") a CSV file-ban. (first item)");
        }
    }
    EXPECT_EQ(CSVUnknownFieldTypeMessage("Sz\xF6veg", "sz\xF6veg=Sz\xF6veg"),
              "Ismeretlen mezőtípus (Szöveg) a CSV file-ban. (szöveg=Szöveg)");
    for (const char *line : {"x=String,ten,\"x\",\"\",10,Data,\"\"", "x=String,10,\"x\",\"\",wide,Data,\"\"", "x=String"})
        EXPECT_THROW(parse(line), EConvertError) << line;
}

TEST(CsvFieldLine, EveryTypeTheFormatSupportsReadsBack)
{
    for (int ordinal = 0; ordinal < FieldTypeCount; ++ordinal) {
        const auto type = static_cast<TFieldType>(ordinal);
        TztrCSVFieldDefinition written = roomIdDefinition();
        written.DataType = type;
        if (IsCSVSupportedFieldType(type))
            EXPECT_EQ(parse(written.Format()).DataType, type) << FieldTypeNames[ordinal];
        else
            EXPECT_THROW(parse(written.Format()), EMemTableError) << FieldTypeNames[ordinal];
    }
}

TEST(CsvIndexLine, WrittenAsTheDataFilesHoldItAndReadBack)
{
    TztrCSVIndexDefinition index{"terem_id", "terem_id", "terem_id", {}};
    EXPECT_EQ(index.Format('\0'), "terem_id=terem_id,terem_id");
    EXPECT_EQ(index.Format('"'), "terem_id=\"terem_id\",\"terem_id\"");
    index.Options = {ixUnique, ixNonMaintained, ixCaseInsensitive, ixDescending, ixPrimary};
    EXPECT_EQ(index.Format('\0'), "terem_id=terem_id,terem_id,DESC,CASE,NONMT,UNIQ");
    const TztrCSVIndexDefinition written{
        "ix", "kurzus_id;orarend_id", "kurzus es orarend", {ixCaseInsensitive, ixUnique}};
    const TztrCSVIndexDefinition read = TztrCSVIndexDefinition::Parse(written.Format('"'));
    EXPECT_EQ(read.Name, "ix");
    EXPECT_EQ(read.Fields, "kurzus_id;orarend_id");
    EXPECT_EQ(read.DisplayName, "kurzus es orarend");
    EXPECT_TRUE(read.Options == (TIndexOptions{ixCaseInsensitive, ixUnique}));
    const TztrCSVIndexDefinition anywhere = TztrCSVIndexDefinition::Parse("ix=a,b,c,DESC");
    EXPECT_EQ(anywhere.Fields, "a");
    EXPECT_EQ(anywhere.DisplayName, "b");
    EXPECT_TRUE(anywhere.Options == TIndexOptions{ixDescending});
}
