#include "dialogs/letszamok.h"

#include "platform/Cp1250.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

void add(TDataSet &table, std::initializer_list<std::pair<const char *, Variant>> values)
{
    table.Append();
    for (const auto &[field, value] : values)
        table.FieldByName(field)->SetAsVariant(value);
    table.Post();
}

TEST(HeadCountStatistics, OldCodesOfTheOrganisersSubjectsAreSummedUpWithATotalRow)
{
    // Created but never shown by the program.
    TSegitseg window;
    window.SzervezoId = 3;
    add(window.MT_tantargy, {{"tantargy_id", 10}, {"tantargy_kod", Variant("UJ1")}, {"tantargy_nev", Variant("Egy")}});
    add(window.MT_tantargy, {{"tantargy_id", 11}, {"tantargy_kod", Variant("UJ2")}, {"tantargy_nev", Variant("Ketto")}});
    add(window.MT_ora, {{"ora_id", 1}, {"tantargy_id", 10}, {"szervezo_id", 3}});
    add(window.MT_ora, {{"ora_id", 2}, {"tantargy_id", 10}, {"szervezo_id", 3}});
    add(window.MT_ora, {{"ora_id", 3}, {"tantargy_id", 11}, {"szervezo_id", 4}});
    // A subject numbered 0 is no real subject: its old codes are not counted.
    add(window.MT_tantargy, {{"tantargy_id", 0}, {"tantargy_kod", Variant("UJ0")}, {"tantargy_nev", Variant("Nulla")}});
    add(window.MT_ora, {{"ora_id", 4}, {"tantargy_id", 0}, {"szervezo_id", 3}});
    add(window.MT_targykapcs, {{"tantargykapcs_id", 72}, {"tantargykapcs_ujkod", Variant("UJ0")},
                               {"tantargykapcs_regikod", Variant("REGI0")}});
    add(window.MT_segitsegtemp2, {{"tkod", Variant("REGI0")}, {"erintett", 50}});
    add(window.MT_targykapcs, {{"tantargykapcs_id", 70}, {"tantargykapcs_ujkod", Variant("UJ1")},
                               {"tantargykapcs_regikod", Variant("REGI1")}});
    add(window.MT_targykapcs, {{"tantargykapcs_id", 71}, {"tantargykapcs_ujkod", Variant("UJ1")},
                               {"tantargykapcs_regikod", Variant("REGI2")}, {"tantargykapcs_minosites", Variant("X")}});
    add(window.MT_segitsegtemp2, {{"tkod", Variant("REGI1")}, {"erintett", 5}, {"felvette", 2}});
    add(window.MT_segitsegtemp2, {{"tkod", Variant("REGI1")}, {"erintett", 1}, {"felvette", 1}});
    add(window.MT_segitsegtemp2, {{"tkod", Variant("REGI2")}, {"erintett", 100}});
    window.show();
    EXPECT_EQ(window.MT_minta.RecordCount(), 2);
    ASSERT_EQ(window.MT_segitsegtemp.RecordCount(), 3);
    window.MT_segitsegtemp.Last();
    EXPECT_EQ(cp1250ToUtf8(window.MT_segitsegtemp.FieldByName("kprnev")->AsString()), "Összesen");
    EXPECT_EQ(window.MT_segitsegtemp.FieldByName("erintett")->AsInteger(), 6);
    EXPECT_EQ(window.MT_segitsegtemp.FieldByName("felvette")->AsInteger(), 3);
}

TEST(HeadCountStatistics, EmptyTablesGiveOnlyTheTotalRow)
{
    TSegitseg window;
    window.show();
    ASSERT_EQ(window.MT_segitsegtemp.RecordCount(), 1);
    window.hide();
    EXPECT_FALSE(window.MT_segitsegtemp.Active());
}

} // namespace
