#include "platform/FieldTypes.h"

#include <gtest/gtest.h>

TEST(FieldTypes, NamesFollowTheDataFilesOrdinalsBlobTypesAreTheRunFromBlobToTypedBinaryAndTheHugeOnes)
{
    EXPECT_EQ(FieldTypeNames[ftString], "String");
    EXPECT_EQ(FieldTypeNames[ftAutoInc], "AutoInc");
    EXPECT_EQ(FieldTypeNames[ftWideString], "WideString");
    EXPECT_EQ(FieldTypeNames[ftFMTBcd], "FMTBcdField");
    EXPECT_EQ(FieldKindNames[fkInternalCalc], "InternalCalc");
    EXPECT_TRUE(isBlobType(ftBlob));
    EXPECT_TRUE(isBlobType(ftTypedBinary));
    EXPECT_TRUE(isBlobType(ftOraClob));
    EXPECT_FALSE(isBlobType(ftCursor));
    EXPECT_FALSE(isBlobType(ftString));
}
