#include "dialogs/targykival.h"

#include "dialogs/DialogTestSupport.h"
#include "dialogs/tantargyszerv.h"

#include <QScopeGuard>
#include <QTabBar>

namespace {

using namespace dialogtest;
using Codes = std::vector<std::string>;
using Ids = std::vector<int>;

class CourseCreation : public DialogOn<TTargyfelvet> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        tantargyszervezes = &counts;
        // Curriculum 1 takes subject 7 as compulsory.
        appendRow(DM->MT_mintatanterv, {{"mintatanterv_id", 1}, text("tagozat", "N"), {"szabad", 1}});
        linkCurriculum(1, 7);
    }
    void addSubjectRow(int id, const std::string &code, const std::string &name, int ea, int gy, int la)
    {
        appendRow(DM->MT_targy, {{"targy_id", id}, text("targy_kod", code), text("targy_nev", name),
                                 {"targy_ea", ea}, {"targy_gy", gy}, {"targy_la", la}, {"szabad", 1}});
    }
    void linkCurriculum(int curriculum, int subject, const std::string &how = "Kötelező")
    {
        appendRow(DM->MT_mintatantervtargy,
                  {{"mintatanterv_id", curriculum}, {"targy_id", subject}, text("targy_felveteltipus", how)});
    }
    Codes compositeCodes()
    {
        DM->MT_kurzus.SetIndexFieldNames("kurzus_id");
        return texts(DM->MT_kurzus, "kurzus_kod_osszetett");
    }
    int courseOf(const std::string &composite)
    {
        EXPECT_TRUE(DM->MT_kurzus.Locate("kurzus_kod_osszetett", Variant(utf8ToCp1250(composite)), {})) << composite;
        return DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
    }
    bool create(const std::string &kod, const std::string &tipus, int kurzusmintaId = -1)
    {
        bool created = false;
        messages = messagesOf([&] { created = dialog->KurzusLetrehozas(kod, tipus, 4, 7, kurzusmintaId, -1); });
        return created;
    }
    // The dialog shown on one of its pages with curriculum 1's subjects listed, as a click on it does.
    void showCurriculum(QWidget *page)
    {
        dialog->show();
        ASSERT_TRUE(dialog->MT_mintatanterv_temp.Locate("mintatanterv_id", 1, {}));
        dialog->MintatantervTargyai(1);
        dialog->PageControl1->setCurrentWidget(page);
    }
    void press(QPushButton *button, const std::function<void(Ttantargyszervezes &)> &answer)
    {
        answeringModals([&] { click(button); }, [&](QWidget &) { answer(counts); });
    }

    Ttantargyszervezes counts;
    std::vector<MessageSeen> messages;
};

TEST(CourseCodes, FromSubjectKeepEightCharactersOfAQualifyingCodeAndFromTemplateEndAtTheDash)
{
    for (const auto &[subject, course] : {std::pair{"MAB123MN", "MAB123MN"}, {"MAB123ANEX2", "MAB123AN"},
                                          {"MAB1X3MNEX", "MAB1X3MNEX"}, {"MAB123LNEX", "MAB123LNEX"}, {"MAB123M", "MAB123M"}})
        EXPECT_EQ(TTargyfelvet::TargykodbolKurzuskod(subject), course) << subject;
    for (const auto &[pattern, course] : {std::pair{"MAB123MN-EA-01", "MAB123MN"}, {"MAB123MN", "MAB123MN"}, {"-EA", ""}})
        EXPECT_EQ(TTargyfelvet::KurzusmintabolKurzuskod(pattern), course) << pattern;
    for (const auto &[code, digits] : {std::pair{"AB123", true}, {"AB12", false}, {"AB1x3", false}, {"ABx23", false}})
        EXPECT_EQ(TTargyfelvet::HaromSzamjegy(code, 3), digits) << code;
}

// Lectures are numbered in tens from 00, the others fill the first free number from 01.
TEST_F(CourseCreation, NumbersCoursesLinksThemAndRefusesTheEleventhLecture)
{
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(create("KOD12345", "EA"));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(create("KOD12345", "EA"));
    EXPECT_EQ(textsOf(messages), QStringList{"Hiba! Túl sok óra!!!"});
    const Codes codes = compositeCodes();
    EXPECT_EQ((Codes{codes.at(0), codes.at(1), codes.at(9)}), (Codes{"KOD12345-EA-00", "KOD12345-EA-10", "KOD12345-EA-90"}));
    for (const char *taken : {"01", "03"})
        appendRow(DM->MT_kurzus, {text("kurzus_kod", "KOD12345"), text("kurzus_tipus", "GY"), text("kurzus_sorszam", taken)});
    appendRow(DM->MT_kurzus, {text("kurzus_kod", "MASIK"), text("kurzus_tipus", "GY"), text("kurzus_sorszam", "02")});
    DM->MT_kurzus.SetFilter("kurzus_sorszam='01'");
    DM->MT_kurzus.SetFiltered(true);
    ASSERT_TRUE(create("KOD12345", "GY"));
    EXPECT_EQ(utf8Of(DM->MT_kurzus, "kurzus_kod_osszetett"), "KOD12345-GY-02");
    const int practice = DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzusminta_id")->AsInteger(), -1);
    EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, practice, "orarend_id"), Ids{4});
    EXPECT_EQ(ofCourse(DM->MT_kurzustargy, practice, "targy_id"), Ids{7});
    // From a template the course takes the template's subjects only.
    for (const auto &[templateId, subject] : {std::pair{50, 8}, {50, 9}, {51, 7}})
        linkTemplate(templateId, subject);
    ASSERT_TRUE(create("KOD12345", "LA", 50));
    EXPECT_EQ(ofCourse(DM->MT_kurzustargy, courseOf("KOD12345-LA-01"), "targy_id"), (Ids{8, 9}));
}

TEST_F(CourseCreation, RadioGroupsFilterTheCurriculaTheirSubjectsAndTheTemplates)
{
    appendRow(DM->MT_mintatanterv, {{"mintatanterv_id", 2}, text("tagozat", "L"), {"szabad", 1}});
    appendRow(DM->MT_mintatanterv, {{"mintatanterv_id", 3}, text("tagozat", "N"), {"szabad", 0}});
    addSubjectRow(7, "MAB123MN", "Analízis", 1, 1, 0);
    addSubjectRow(8, "MAB124MN", "Algebra", 1, 0, 0);
    linkCurriculum(1, 8, "Szabadon választható");
    dialog->show();
    EXPECT_EQ(dialog->MT_mintatanterv_temp.Filter(), "(szabad=1)");
    dialog->DBG_mintatanterv->resize(600, 200);
    clickCell(*dialog->DBG_mintatanterv, 1, 0);
    EXPECT_EQ(shownColumn(*dialog->DBG_targy, "targy_nev"), QStringList{QStringLiteral("Analízis")});
    pick(dialog->RG_felveteltipuskurzus, 3);
    EXPECT_EQ(shownColumn(*dialog->DBG_targy, "targy_nev"), QStringList{QStringLiteral("Algebra")});
    pick(dialog->RG_felveteltipuskurzus, 0);
    EXPECT_EQ(dialog->vagolap->text(), QStringLiteral("(szabad=1)"));
    pick(dialog->RG_tagozat, 2);
    pick(dialog->RG_szint, 6);
    EXPECT_EQ(dialog->vagolap->text(), QStringLiteral("(szabad=1) and (tagozat='L') and (tipus='Nemzetközi program képzése')"));
    pick(dialog->RG_tipus, 4);
    EXPECT_EQ(dialog->vagolap->text(),
              QStringLiteral("(felev='Kereszt') and ((kurzusminta_tipus='GY' or kurzusminta_tipus='LA'))"));
    pick(dialog->RG_felev, 0);
    pick(dialog->RG_tipus, 0);
    EXPECT_FALSE(dialog->MT_kurzusminta_temp.Filtered());
}

TEST_F(CourseCreation, TypeButtonsCreateOneCourseOfTheChosenSubjectOnItsPageOnly)
{
    addSubjectRow(7, "MAB123MNX", "Analízis", 2, 2, 2);
    dialog->OrarendId = 5;
    showCurriculum(dialog->TS_kurzus);
    press(dialog->BEA, [](Ttantargyszervezes &c) { c.reject(); });
    EXPECT_EQ(dialog->OrarendId, 5) << "not on the template page";
    for (QPushButton *button : {dialog->BGY, dialog->BEA, dialog->BLA}) {
        dialog->OrarendId = 5;
        showCurriculum(dialog->TS_targy);
        press(button, [](Ttantargyszervezes &c) { c.reject(); });
        EXPECT_EQ(dialog->OrarendId, 0);
    }
    EXPECT_EQ(compositeCodes(), (Codes{"MAB123MN-GY-01", "MAB123MN-EA-00", "MAB123MN-LA-01"}));
    EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, courseOf("MAB123MN-GY-01"), "orarend_id"), Ids{5});
}

// Timetable 0 is a timetable like any other, not copy mode.
TEST_F(CourseCreation, TheCountsOfASubjectOrATemplateAreCreatedInTypeOrderAndBackCreatesNothing)
{
    addSubjectRow(7, "MAB123MN", "Analízis", 2, 2, 0);
    addSubjectRow(8, "MAB123AN", "Analysis", 1, 1, 0);
    addTemplate(50, "MAB123XX-GY-01", "GY", 7);
    addTemplate(51, "MAB123MN-EA", "EA", 99);
    for (const auto &[templateId, subject] : {std::pair{50, 7}, {50, 8}, {51, 7}, {51, 98}, {52, 7}})
        linkTemplate(templateId, subject);
    pick(dialog->RG_felev, 0);
    dialog->OrarendId = 0;
    showCurriculum(dialog->TS_targy);
    press(dialog->B_kivalaszt, [](Ttantargyszervezes &c) { click(c.Button2); });
    EXPECT_TRUE(compositeCodes().empty());
    press(dialog->B_kivalaszt, [](Ttantargyszervezes &c) {
        EXPECT_EQ(c.Tkod->text(), QStringLiteral("MAB123MN"));
        EXPECT_FALSE(c.SpinEdit3->isEnabled());
        c.SpinEdit2->setValue(2);
        click(c.Button1);
    });
    EXPECT_EQ(compositeCodes(), (Codes{"MAB123MN-EA-00", "MAB123MN-GY-01", "MAB123MN-GY-02"}));
    EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, courseOf("MAB123MN-GY-02"), "orarend_id"), Ids{0});
    showCurriculum(dialog->TS_kurzus);
    // The subject's templates, each named after its subject, and the subjects of the last one.
    const std::string missing = "Adathiba!!! Hiányzó tárgyi kapcsolat!";
    EXPECT_EQ(texts(dialog->MT_kurzusminta_temp, "kurzusminta_nev"), (Codes{"Analízis", missing}));
    dialog->KurzusmintaTargyai(-1);
    EXPECT_EQ(texts(dialog->MT_kurzusmintatargy2_temp, "targy_nev"), (Codes{"Analízis", missing}));
    dialog->MT_kurzusminta_temp.First();
    press(dialog->B_kivalaszt, [](Ttantargyszervezes &c) {
        EXPECT_FALSE(c.SpinEdit1->isEnabled());
        EXPECT_FALSE(c.SpinEdit3->isEnabled());
        EXPECT_EQ(c.SpinEdit2->value(), 1);
        click(c.Button1);
    });
    const int fromTemplate = courseOf("MAB123XX-GY-01");
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzusminta_id")->AsInteger(), 50);
    EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), 7);
    EXPECT_EQ(ofCourse(DM->MT_kurzustargy, fromTemplate, "targy_id"), (Ids{7, 8}));
}

TEST_F(CourseCreation, CopyModeMakesOneCourseOfTheSourceTypeAttachedToItOrStaysWithNothingChosen)
{
    addSubjectRow(7, "MAB123MN", "Analízis", 3, 3, 3);
    addTemplate(50, "MAB123MN-EA", "EA", 7);
    linkTemplate(50, 7);
    appendRow(DM->MT_kurzus, {{"kurzus_id", 900}, text("kurzus_kod", "FORRAS"), text("kurzus_tipus", "LA"),
                              text("kurzus_sorszam", "01"), text("kurzus_kod_osszetett", "FORRAS-LA-01")});
    pick(dialog->RG_felev, 0);
    dialog->ForrasKurzusId = 900;
    dialog->OrarendId = -1 - 5;
    dialog->show();
    click(dialog->B_kivalaszt);
    EXPECT_EQ(dialog->OrarendId, -6) << "nothing chosen";
    showCurriculum(dialog->TS_kurzus);
    press(dialog->B_kivalaszt, [](Ttantargyszervezes &) { FAIL() << "no counts in copy mode"; });
    EXPECT_EQ(dialog->OrarendId, 0);
    ASSERT_EQ(compositeCodes(), (Codes{"FORRAS-LA-01", "MAB123MN-LA-01"}));
    EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, courseOf("MAB123MN-LA-01"), "orarend_id"), Ids{5});
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id_csatolt")->AsInteger(), 900);
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzusminta_id")->AsInteger(), 50);
    dialog->show();
    click(dialog->Button1);
    EXPECT_EQ(dialog->OrarendId, -1) << "back reports nothing created";
}

// With the lectures' numbers used up, each refused lecture is told, the practice asked for in the
// same request is still made, and the dialog closes as after any creation.
TEST_F(CourseCreation, ARequestGoesOnPastLecturesRefusedForWantOfNumbers)
{
    addSubjectRow(7, "MAB123MN", "Analízis", 1, 1, 0);
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(create("MAB123MN", "EA"));
    dialog->OrarendId = 5;
    showCurriculum(dialog->TS_targy);
    QStringList told;
    answeringModals([&] { click(dialog->B_kivalaszt); }, [&](QWidget &modal) {
        if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
            told << box->text();
            box->accept();
            return;
        }
        counts.SpinEdit1->setValue(2);
        click(counts.Button1);
    });
    EXPECT_EQ(told, (QStringList{"Hiba! Túl sok óra!!!", "Hiba! Túl sok óra!!!"}));
    EXPECT_EQ(compositeCodes().size(), 11U);
    EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, courseOf("MAB123MN-GY-01"), "orarend_id"), Ids{5});
    EXPECT_EQ(std::pair(dialog->OrarendId, dialog->isVisible()), std::pair(0, false));
}

class CourseCreationByHand : public CourseCreation {
protected:
    void clickTab(const QString &caption)
    {
        QTabBar *tabs = dialog->PageControl1->tabBar();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == caption)
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        ASSERT_EQ(dialog->PageControl1->tabText(dialog->PageControl1->currentIndex()), caption);
    }
    // The row of the grid that shows `text` in the column of `field`, -1 when none does.
    static int shownRow(const TDBGrid &grid, const std::string &field, const QString &text)
    {
        return int(shownColumn(grid, field).indexOf(text));
    }
};

// As a planner works: narrow the curricula, click one, open its subjects' page, double-click a
// subject, raise the offered counts in the count dialog and take them; the courses land in the
// timetable and the dialog closes.
TEST_F(CourseCreationByHand, APlannerPicksACurriculumAndASubjectAndGetsTheCoursesAskedFor)
{
    DM->MT_mintatanterv.Edit();
    DM->MT_mintatanterv.FieldByName("mintatanterv_kod")->SetAsString("ZZ-NAP");
    DM->MT_mintatanterv.Post();
    appendRow(DM->MT_mintatanterv, {{"mintatanterv_id", 2}, text("mintatanterv_kod", "AA-LEV"),
                                    text("mintatanterv_nev", "Levelező"), text("tagozat", "L"), {"szabad", 1}});
    addSubjectRow(7, "MAB123MNEX", "Analízis", 2, 1, 0);
    addSubjectRow(8, "MAB124MN", "Algebra", 1, 1, 1);
    addSubjectRow(9, "MAB125MN", "Logika", 1, 0, 0);
    linkCurriculum(1, 8);
    linkCurriculum(1, 9, "Szabadon választható");
    linkCurriculum(2, 9);
    dialog->OrarendId = 3;
    QStringList seenBeforeChoosing, countsOffered;
    // The count dialog: one of each offered type, nothing of the rest; the planner asks for three lectures.
    const auto chooseCounts = [&](QWidget &modal) {
        auto &counts = dynamic_cast<Ttantargyszervezes &>(modal);
        countsOffered << counts.windowTitle() << counts.Tkod->text() << counts.Tcim->text();
        for (QSpinBox *spin : {counts.SpinEdit1, counts.SpinEdit2, counts.SpinEdit3})
            countsOffered << spin->text() + (spin->isEnabled() ? "" : " off") + "/" + QString::number(spin->maximum());
        QTest::keyClick(counts.SpinEdit1, Qt::Key_Up);
        QTest::keyClick(counts.SpinEdit1, Qt::Key_Up);
        click(counts.Button1);
    };
    dialog->OrarendId = 3;
    const int shown = execWith(*dialog, [&] {
        // A failed step must not leave the dialog waiting.
        auto closeAnyway = qScopeGuard([&] { dialog->reject(); });
        seenBeforeChoosing << dialog->windowTitle() << dialog->PageControl1->tabText(dialog->PageControl1->currentIndex())
                           << QString::number(dialog->DBG_targy->ShownRowCount());
        seenBeforeChoosing << shownColumn(*dialog->DBG_mintatanterv, "mintatanterv_kod").join(',');
        pick(dialog->RG_tagozat, 1);
        seenBeforeChoosing << shownColumn(*dialog->DBG_mintatanterv, "mintatanterv_kod").join(',');
        clickCell(*dialog->DBG_mintatanterv, 1, 0);
        clickTab(QStringLiteral("Tantárgyak"));
        // Only the compulsory subjects of the curriculum until another kind is chosen.
        seenBeforeChoosing << shownColumn(*dialog->DBG_targy, "targy_nev").join(',');
        pick(dialog->RG_felveteltipus, 0);
        seenBeforeChoosing << shownColumn(*dialog->DBG_targy, "targy_nev").join(',');
        const int analysis = shownRow(*dialog->DBG_targy, "targy_nev", QStringLiteral("Analízis"));
        ASSERT_GE(analysis, 0);
        const QPoint cell = dialog->DBG_targy->CellRect(2, analysis).center();
        EXPECT_EQ(answeringModals([&] { QTest::mouseDClick(dialog->DBG_targy->viewport(), Qt::LeftButton, {}, cell); },
                                  chooseCounts), 1);
        closeAnyway.dismiss();
    });
    EXPECT_EQ(shown, QDialog::Accepted);
    EXPECT_EQ(seenBeforeChoosing, (QStringList{"Tárgy kiválasztása", "Kurzusok", "0", "ZZ-NAP,AA-LEV", "ZZ-NAP",
                                               "Analízis,Algebra", "Analízis,Algebra,Logika"}));
    EXPECT_EQ(countsOffered,
              (QStringList{"Tantárgy hirdetés", "MAB123MNEX", "Analízis", "1/10", "1/10", "0 off/10"}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->OrarendId, 0);
    EXPECT_EQ(compositeCodes(), (Codes{"MAB123MN-EA-00", "MAB123MN-EA-10", "MAB123MN-EA-20", "MAB123MN-GY-01"}));
    for (const std::string &code : compositeCodes()) {
        const int course = courseOf(code);
        EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, course, "orarend_id"), Ids{3}) << code;
        EXPECT_EQ(ofCourse(DM->MT_kurzustargy, course, "targy_id"), Ids{7}) << code;
    }
}

// On the templates' page: a subject's templates of the chosen term, a template's subjects, and
// "Kiválaszt" offering one course of the template's type; the courses take its subjects.
TEST_F(CourseCreationByHand, APlannerCreatesCoursesFromATemplateOfTheChosenTerm)
{
    addSubjectRow(7, "MAB123MN", "Analízis", 1, 1, 1);
    addSubjectRow(8, "MAB124MN", "Algebra", 1, 0, 0);
    linkCurriculum(1, 8);
    for (const auto &[id, code, type, term] : {std::tuple{50, "MAB123MN-GY-01", "GY", "Kereszt"},
                                               std::tuple{51, "MAB123MN-EA-01", "EA", "2021/22/1"}})
        appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", id}, text("kurzusminta_kod", code),
                                       text("kurzusminta_tipus", type), {"targy_id", 7}, text("felev", term)});
    for (const auto &[templateId, subject] : {std::pair{50, 7}, {50, 8}, {51, 7}})
        linkTemplate(templateId, subject);
    dialog->OrarendId = 2;
    QStringList seen;
    const auto chooseCounts = [&](QWidget &modal) {
        auto &counts = dynamic_cast<Ttantargyszervezes &>(modal);
        seen << counts.Tkod->text() + ' ' + counts.Tcim->text();
        for (QSpinBox *spin : {counts.SpinEdit1, counts.SpinEdit2, counts.SpinEdit3})
            seen << spin->text() + (spin->isEnabled() ? "" : " off");
        QTest::keyClick(counts.SpinEdit2, Qt::Key_Up);
        click(counts.Button1);
    };
    const int shown = execWith(*dialog, [&] {
        auto closeAnyway = qScopeGuard([&] { dialog->reject(); });
        clickCell(*dialog->DBG_mintatanterv, 1, 0);
        clickCell(*dialog->DBG_targy2, 1, shownRow(*dialog->DBG_targy2, "targy_nev", QStringLiteral("Analízis")));
        seen << shownColumn(*dialog->DBG_kurzusminta, "kurzusminta_kod").join(',');
        pick(dialog->RG_felev, 0);
        seen << shownColumn(*dialog->DBG_kurzusminta, "kurzusminta_kod").join(',');
        const int practice = shownRow(*dialog->DBG_kurzusminta, "kurzusminta_kod", QStringLiteral("MAB123MN-GY-01"));
        ASSERT_GE(practice, 0);
        clickCell(*dialog->DBG_kurzusminta, 1, practice);
        seen << shownColumn(*dialog->DBG_targy3, "targy_nev").join(',');
        EXPECT_EQ(answeringModals([&] { click(dialog->B_kivalaszt); }, chooseCounts), 1);
        closeAnyway.dismiss();
    });
    EXPECT_EQ(shown, QDialog::Accepted);
    EXPECT_EQ(seen, (QStringList{"MAB123MN-GY-01", "MAB123MN-GY-01,MAB123MN-EA-01", "Analízis,Algebra",
                                 "MAB123MN Analízis", "0 off", "1", "0 off"}));
    EXPECT_EQ(compositeCodes(), (Codes{"MAB123MN-GY-01", "MAB123MN-GY-02"}));
    for (const std::string &code : compositeCodes()) {
        const int course = courseOf(code);
        EXPECT_EQ(fieldOf(DM->MT_kurzus, "kurzus_id", course, "kurzusminta_id"), 50) << code;
        EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, course, "orarend_id"), Ids{2}) << code;
        EXPECT_EQ(ofCourse(DM->MT_kurzustargy, course, "targy_id"), (Ids{7, 8})) << code;
    }
}

} // namespace
