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
