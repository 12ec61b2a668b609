#include "dialogs/targykival.h"

#include "dialogs/DialogTestSupport.h"
#include "dialogs/RadioGroup.h"
#include "dialogs/tantargyszerv.h"
#include "platform/widgets/DBGrids.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

using dialogtest::answeringModals;
using dialogtest::appendRow;
using dialogtest::MessageSeen;
using dialogtest::recordAndPress;
using dialogtest::text;
using dialogtest::utf8Of;

class CourseCreation : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        // The curriculum-subject links carry how the subject is taken.
        std::ofstream(folder.path() / "mintatantervtargy.csv", std::ios::binary) << datamtest::dataFile(
            {{"mintatanterv_id", "Integer"}, {"targy_id", "Integer"}, {"targy_felveteltipus", "String", 100}}, {});
        DataModule::SetUp();
        counts = std::make_unique<Ttantargyszervezes>();
        tantargyszervezes = counts.get();
        dialog = std::make_unique<TTargyfelvet>();
    }
    void TearDown() override
    {
        dialog.reset();
        tantargyszervezes = nullptr;
        counts.reset();
        DataModule::TearDown();
    }

    void addSubjectRow(int id, const std::string &code, const std::string &name, int ea, int gy, int la)
    {
        appendRow(DM->MT_targy, {{"targy_id", id}, text("targy_kod", code), text("targy_nev", name),
                                 {"targy_ea", ea}, {"targy_gy", gy}, {"targy_la", la}, {"szabad", 1}});
    }
    void addCurriculum(int id, const std::string &code, const std::string &tagozat, int szabad = 1)
    {
        appendRow(DM->MT_mintatanterv,
                  {{"mintatanterv_id", id}, text("mintatanterv_kod", code), text("tagozat", tagozat), {"szabad", szabad}});
    }
    void linkCurriculum(int curriculum, int subject, const std::string &how = "Kötelező")
    {
        appendRow(DM->MT_mintatantervtargy,
                  {{"mintatanterv_id", curriculum}, {"targy_id", subject}, text("targy_felveteltipus", how)});
    }
    void addTemplate(int id, const std::string &code, const std::string &type, int subject)
    {
        appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", id}, text("kurzusminta_kod", code),
                                       text("kurzusminta_tipus", type), {"targy_id", subject}});
    }
    void linkTemplate(int templateId, int subject)
    {
        appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", templateId}, {"targy_id", subject}});
    }
    void addExistingCourse(const std::string &code, const std::string &type, const std::string &number)
    {
        appendRow(DM->MT_kurzus, {text("kurzus_kod", code), text("kurzus_tipus", type), text("kurzus_sorszam", number),
                                  text("kurzus_kod_osszetett", code + "-" + type + "-" + number)});
    }
    std::vector<std::string> compositeCodes()
    {
        std::vector<std::string> codes;
        DM->MT_kurzus.SetIndexFieldNames("kurzus_id");
        for (DM->MT_kurzus.First(); !DM->MT_kurzus.Eof(); DM->MT_kurzus.Next())
            codes.push_back(utf8Of(DM->MT_kurzus, "kurzus_kod_osszetett"));
        return codes;
    }
    // The course of a composite code, as the data module holds it.
    void gotoCourse(const std::string &composite)
    {
        ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_kod_osszetett", Variant(utf8ToCp1250(composite)), {}));
    }
    std::vector<int> subjectsOf(int kurzusId)
    {
        std::vector<int> subjects;
        for (DM->MT_kurzustargy.First(); !DM->MT_kurzustargy.Eof(); DM->MT_kurzustargy.Next())
            if (DM->MT_kurzustargy.FieldByName("kurzus_id")->AsInteger() == kurzusId)
                subjects.push_back(DM->MT_kurzustargy.FieldByName("targy_id")->AsInteger());
        return subjects;
    }
    bool inTimetable(int kurzusId, int orarendId)
    {
        return DM->MT_kurzusorarend.Locate("kurzus_id;orarend_id", VarArrayOf({Variant(kurzusId), Variant(orarendId)}),
                                           {});
    }
    // Curriculum 1 with subject 7 taken as compulsory.
    void curriculumWithSubject(const std::string &code, int ea, int gy, int la)
    {
        addCurriculum(1, "N1", "N");
        addSubjectRow(7, code, "Analízis", ea, gy, la);
        linkCurriculum(1, 7);
    }
    // The dialog shown and a curriculum's subjects listed, as a click on its row does.
    void showWithCurriculum(int curriculum)
    {
        dialog->show();
        ASSERT_TRUE(dialog->MT_mintatanterv_temp.Locate("mintatanterv_id", curriculum, {}));
        dialog->MintatantervTargyai(curriculum);
    }

    std::unique_ptr<Ttantargyszervezes> counts;
    std::unique_ptr<TTargyfelvet> dialog;
};

TEST(CourseCodes, FromSubjectKeepEightCharactersOfAQualifyingCodeAndFromTemplateEndAtTheDash)
{
    for (const auto &[subject, course] : {std::pair{"MAB123MN", "MAB123MN"}, {"MAB123ANEX2", "MAB123AN"},
                                          {"MAB1X3MNEX", "MAB1X3MNEX"}, {"MAB123LNEX", "MAB123LNEX"}, {"MAB123M", "MAB123M"}})
        EXPECT_EQ(TTargyfelvet::TargykodbolKurzuskod(subject), course) << subject;
    for (const auto &[pattern, course] : {std::pair{"MAB123MN-EA-01", "MAB123MN"}, {"MAB123MN", "MAB123MN"}, {"-EA", ""}})
        EXPECT_EQ(TTargyfelvet::KurzusmintabolKurzuskod(pattern), course) << pattern;
    EXPECT_TRUE(TTargyfelvet::HaromSzamjegy("AB123", 3));
    EXPECT_FALSE(TTargyfelvet::HaromSzamjegy("AB12", 3));
    EXPECT_FALSE(TTargyfelvet::HaromSzamjegy("AB1x3", 3));
}

TEST(RadioGroups, FillTheirColumnsTopDown)
{
    TRadioGroup group(QStringLiteral("Szint"), {"1", "2", "3", "4", "5", "6", "7", "8", "9"}, nullptr, 3);
    group.show();
    EXPECT_EQ(group.Button(3)->y(), group.Button(0)->y());
    EXPECT_GT(group.Button(3)->x(), group.Button(0)->x());
    EXPECT_GT(group.Button(2)->y(), group.Button(1)->y());
}

TEST_F(CourseCreation, LecturesTakeTensAndTheEleventhIsRefused)
{
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(dialog->KurzusLetrehozas("KOD12345", "EA", 3, 7, -1, -1));
    std::vector<MessageSeen> seen;
    bool created = true;
    answeringModals([&] { created = dialog->KurzusLetrehozas("KOD12345", "EA", 3, 7, -1, -1); },
                    recordAndPress(seen));
    EXPECT_FALSE(created);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Hiba! Túl sok óra!!!"));
    const std::vector<std::string> codes = compositeCodes();
    ASSERT_EQ(codes.size(), 10u);
    EXPECT_EQ(codes[0], "KOD12345-EA-00");
    EXPECT_EQ(codes[1], "KOD12345-EA-10");
    EXPECT_EQ(codes[9], "KOD12345-EA-90");
}

TEST_F(CourseCreation, PracticeNumberingFillsTheFirstGap)
{
    addExistingCourse("KOD12345", "GY", "01");
    addExistingCourse("KOD12345", "GY", "03");
    addExistingCourse("MASIK", "GY", "02");
    ASSERT_TRUE(dialog->KurzusLetrehozas("KOD12345", "GY", 3, 7, -1, -1));
    EXPECT_EQ(utf8Of(DM->MT_kurzus, "kurzus_sorszam"), "02");
    EXPECT_EQ(utf8Of(DM->MT_kurzus, "kurzus_kod_osszetett"), "KOD12345-GY-02");
}

TEST_F(CourseCreation, CourseWithoutTemplateIsLinkedToTimetableAndSubject)
{
    ASSERT_TRUE(dialog->KurzusLetrehozas("KOD12345", "LA", 4, 7, -1, -1));
    const int id = DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzusminta_id")->AsInteger(), -1);
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id_csatolt")->AsInteger(), -1);
    EXPECT_TRUE(DM->MT_kurzus.FieldByName("megnevezes")->AsString().empty());
    EXPECT_TRUE(inTimetable(id, 4));
    EXPECT_EQ(subjectsOf(id), std::vector<int>{7});
    EXPECT_EQ(DM->MT_kurzustargy.FieldByName("maxletszam")->AsInteger(), -1);
}

TEST_F(CourseCreation, CourseFromTemplateTakesTheTemplatesSubjectsOnly)
{
    linkTemplate(50, 8);
    linkTemplate(50, 9);
    linkTemplate(51, 7);
    ASSERT_TRUE(dialog->KurzusLetrehozas("KOD12345", "EA", 4, 7, 50, -1));
    const int id = DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
    EXPECT_EQ(subjectsOf(id), (std::vector<int>{8, 9}));
    ASSERT_TRUE(dialog->KurzusLetrehozas("KOD12345", "EA", 4, 7, 52, -1));
    EXPECT_TRUE(subjectsOf(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger()).empty());
}

TEST_F(CourseCreation, CurriculumFilterAlwaysKeepsOfferedOnly)
{
    addCurriculum(1, "N1", "N");
    addCurriculum(2, "L1", "L");
    addCurriculum(3, "N2", "N", 0);
    dialog->show();
    EXPECT_EQ(dialog->MT_mintatanterv_temp.Filter(), "(szabad=1)");
    EXPECT_EQ(dialog->MT_mintatanterv_temp.RecordCount(), 2);
    QTest::mouseClick(dialog->RG_tagozat->Button(2), Qt::LeftButton);
    EXPECT_EQ(dialog->vagolap->text(), QStringLiteral("(szabad=1) and (tagozat='L')"));
    EXPECT_EQ(dialog->MT_mintatanterv_temp.RecordCount(), 1);
    QTest::mouseClick(dialog->RG_szint->Button(6), Qt::LeftButton);
    EXPECT_EQ(dialog->vagolap->text(),
              QStringLiteral("(szabad=1) and (tagozat='L') and (tipus='Nemzetközi program képzése')"));
}

TEST_F(CourseCreation, ClickedCurriculumListsItsSubjectsByHowTheyAreTaken)
{
    addCurriculum(1, "N1", "N");
    addSubjectRow(7, "MAB123MN", "Analízis", 1, 1, 0);
    addSubjectRow(8, "MAB124MN", "Algebra", 1, 0, 0);
    linkCurriculum(1, 7);
    linkCurriculum(1, 8, "Szabadon választható");
    dialog->show();
    dialog->DBG_mintatanterv->resize(600, 200);
    QTest::mouseClick(dialog->DBG_mintatanterv->viewport(), Qt::LeftButton, {},
                      dialog->DBG_mintatanterv->CellRect(1, 0).center());
    EXPECT_TRUE(dialog->DBG_targy->isEnabled());
    EXPECT_EQ(dialogtest::shownColumn(*dialog->DBG_targy, "targy_nev"), QStringList{QStringLiteral("Analízis")});
    EXPECT_EQ(dialogtest::shownColumn(*dialog->DBG_targy2, "targy_kod"), QStringList{QStringLiteral("MAB123MN")});
    QTest::mouseClick(dialog->RG_felveteltipuskurzus->Button(3), Qt::LeftButton);
    EXPECT_EQ(dialog->RG_felveteltipus->ItemIndex(), 3);
    EXPECT_EQ(dialogtest::shownColumn(*dialog->DBG_targy, "targy_nev"), QStringList{QStringLiteral("Algebra")});
    QTest::mouseClick(dialog->RG_felveteltipuskurzus->Button(0), Qt::LeftButton);
    EXPECT_EQ(dialog->vagolap->text(), QStringLiteral("(szabad=1)"));
}

TEST_F(CourseCreation, TemplateFilterJoinsTermAndType)
{
    dialog->show();
    QTest::mouseClick(dialog->RG_tipus->Button(4), Qt::LeftButton);
    EXPECT_EQ(dialog->RG_tipus->ItemIndex(), 4);
    EXPECT_EQ(dialog->vagolap->text(),
              QStringLiteral("(felev='Kereszt') and ((kurzusminta_tipus='GY' or kurzusminta_tipus='LA'))"));
    QTest::mouseClick(dialog->RG_felev->Button(0), Qt::LeftButton);
    QTest::mouseClick(dialog->RG_tipus->Button(0), Qt::LeftButton);
    EXPECT_FALSE(dialog->MT_kurzusminta_temp.Filtered());
}

TEST_F(CourseCreation, SubjectListsItsTemplatesWithTheirSubjects)
{
    curriculumWithSubject("MAB123MN", 1, 1, 0);
    addTemplate(50, "MAB123MN-EA", "EA", 7);
    addTemplate(51, "MAB123MN-GY", "GY", 99);
    linkTemplate(50, 7);
    linkTemplate(51, 7);
    linkTemplate(51, 98);
    linkTemplate(52, 7);
    QTest::mouseClick(dialog->RG_felev->Button(0), Qt::LeftButton);
    showWithCurriculum(1);
    ASSERT_EQ(dialog->MT_kurzusminta_temp.RecordCount(), 2);
    EXPECT_EQ(utf8Of(dialog->MT_kurzusminta_temp, "kurzusminta_nev"), "Analízis");
    dialog->MT_kurzusminta_temp.Next();
    EXPECT_EQ(utf8Of(dialog->MT_kurzusminta_temp, "kurzusminta_nev"), "Adathiba!!! Hiányzó tárgyi kapcsolat!");
    ASSERT_EQ(dialog->MT_kurzusmintatargy2_temp.RecordCount(), 2);
    dialog->MT_kurzusmintatargy2_temp.Last();
    EXPECT_EQ(utf8Of(dialog->MT_kurzusmintatargy2_temp, "targy_nev"), "Adathiba!!! Hiányzó tárgyi kapcsolat!");
    EXPECT_EQ(utf8Of(dialog->MT_kurzusmintatargy2_temp, "targy_kod"), "");
}

TEST_F(CourseCreation, TypeButtonCreatesOneCourseOfTheChosenSubject)
{
    curriculumWithSubject("MAB123MNX", 2, 2, 2);
    dialog->OrarendId = 5;
    showWithCurriculum(1);
    dialog->PageControl1->setCurrentWidget(dialog->TS_targy);
    QTest::mouseClick(dialog->BGY, Qt::LeftButton);
    EXPECT_EQ(dialog->OrarendId, 0);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(compositeCodes(), std::vector<std::string>{"MAB123MN-GY-01"});
    gotoCourse("MAB123MN-GY-01");
    EXPECT_TRUE(inTimetable(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 5));
}

TEST_F(CourseCreation, TypeButtonOnTheTemplatePageDoesNothing)
{
    addSubjectRow(7, "MAB123MN", "Analízis", 1, 1, 0);
    dialog->OrarendId = 5;
    dialog->show();
    QTest::mouseClick(dialog->BEA, Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->OrarendId, 5);
    EXPECT_TRUE(compositeCodes().empty());
}

TEST_F(CourseCreation, ChosenCountsOfASubjectAreCreatedInTypeOrderAndBackCreatesNothing)
{
    curriculumWithSubject("MAB123MN", 2, 2, 0);
    dialog->OrarendId = 5;
    showWithCurriculum(1);
    dialog->PageControl1->setCurrentWidget(dialog->TS_targy);
    answeringModals([&] { QTest::mouseClick(dialog->B_kivalaszt, Qt::LeftButton); },
                    [](QWidget &modal) {
                        QTest::mouseClick(dynamic_cast<Ttantargyszervezes &>(modal).Button2, Qt::LeftButton);
                    });
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->OrarendId, 5);
    EXPECT_TRUE(compositeCodes().empty());
    bool labOffered = true;
    answeringModals([&] { QTest::mouseClick(dialog->B_kivalaszt, Qt::LeftButton); },
                    [&](QWidget &modal) {
                        auto *countDialog = dynamic_cast<Ttantargyszervezes *>(&modal);
                        ASSERT_NE(countDialog, nullptr);
                        EXPECT_EQ(countDialog->Tkod->text(), QStringLiteral("MAB123MN"));
                        labOffered = countDialog->SpinEdit3->isEnabled();
                        countDialog->SpinEdit2->setValue(2);
                        QTest::mouseClick(countDialog->Button1, Qt::LeftButton);
                    });
    EXPECT_FALSE(labOffered);
    EXPECT_EQ(dialog->OrarendId, 0);
    EXPECT_EQ(compositeCodes(), (std::vector<std::string>{"MAB123MN-EA-00", "MAB123MN-GY-01", "MAB123MN-GY-02"}));
}

TEST_F(CourseCreation, TemplateCoursesTakeTheTemplatesCodeAndSubjects)
{
    addCurriculum(1, "N1", "N");
    addSubjectRow(7, "MAB123MN", "Analízis", 1, 1, 0);
    addSubjectRow(8, "MAB123AN", "Analysis", 1, 1, 0);
    linkCurriculum(1, 7);
    addTemplate(50, "MAB123XX-GY-01", "GY", 7);
    linkTemplate(50, 7);
    linkTemplate(50, 8);
    QTest::mouseClick(dialog->RG_felev->Button(0), Qt::LeftButton);
    // Timetable 0 is a timetable like any other, not copy mode.
    dialog->OrarendId = 0;
    showWithCurriculum(1);
    answeringModals([&] { QTest::mouseClick(dialog->B_kivalaszt, Qt::LeftButton); },
                    [](QWidget &modal) {
                        auto &countDialog = dynamic_cast<Ttantargyszervezes &>(modal);
                        EXPECT_FALSE(countDialog.SpinEdit1->isEnabled());
                        EXPECT_EQ(countDialog.SpinEdit2->value(), 1);
                        QTest::mouseClick(countDialog.Button1, Qt::LeftButton);
                    });
    ASSERT_EQ(compositeCodes(), std::vector<std::string>{"MAB123XX-GY-01"});
    gotoCourse("MAB123XX-GY-01");
    const int id = DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzusminta_id")->AsInteger(), 50);
    EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), 7);
    EXPECT_EQ(subjectsOf(id), (std::vector<int>{7, 8}));
}

TEST_F(CourseCreation, CopyModeMakesOneCourseOfTheSourceTypeAttachedToIt)
{
    curriculumWithSubject("MAB123MN", 3, 3, 3);
    addTemplate(50, "MAB123MN-EA", "EA", 7);
    linkTemplate(50, 7);
    appendRow(DM->MT_kurzus, {{"kurzus_id", 900}, text("kurzus_kod", "FORRAS"), text("kurzus_tipus", "LA"),
                              text("kurzus_sorszam", "01"), text("kurzus_kod_osszetett", "FORRAS-LA-01")});
    QTest::mouseClick(dialog->RG_felev->Button(0), Qt::LeftButton);
    dialog->ForrasKurzusId = 900;
    dialog->OrarendId = -1 - 5;
    showWithCurriculum(1);
    EXPECT_EQ(dialog->ForrasKurzusTipus, "LA");
    QTest::mouseClick(dialog->B_kivalaszt, Qt::LeftButton);
    EXPECT_EQ(dialog->OrarendId, 0);
    ASSERT_EQ(compositeCodes(), (std::vector<std::string>{"FORRAS-LA-01", "MAB123MN-LA-01"}));
    gotoCourse("MAB123MN-LA-01");
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id_csatolt")->AsInteger(), 900);
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzusminta_id")->AsInteger(), 50);
    EXPECT_TRUE(inTimetable(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 5));
}

TEST_F(CourseCreation, NothingChosenInCopyModeStaysAndBackReportsNothingCreated)
{
    dialog->OrarendId = -1 - 5;
    dialog->show();
    QTest::mouseClick(dialog->B_kivalaszt, Qt::LeftButton);
    EXPECT_EQ(dialog->OrarendId, -6);
    EXPECT_TRUE(dialog->isVisible());
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    EXPECT_EQ(dialog->OrarendId, -1);
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace
