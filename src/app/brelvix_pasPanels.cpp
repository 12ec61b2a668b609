// The course panels below the course list: the teachers, subjects and course group of the
// current course, and its edit row.

#include "app/brelvix_pas.h"

#include "app/brelvix_pasCommon.h"
#include "data/datam.h"
#include "platform/widgets/DBGrids.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace mainwindow;

namespace {

const QString NoSubjectTitle = QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");

// The title of the course a table stands on: its own name, else its subject's.
QString titleOfCourseRow(const TDataSet &course)
{
    if (const std::string title = textOf(course, "megnevezes"); !title.empty())
        return guiText(title);
    const int targyId = intOf(course, "targy_id");
    if (targyId >= 0 && DM->MT_targy.Locate("targy_id", targyId, {}))
        return guiText(textOf(DM->MT_targy, "targy_nev"));
    return NoSubjectTitle;
}

void defineFields(TztrMemTable &table, std::initializer_list<std::pair<const char *, int>> stringFields,
                  std::initializer_list<const char *> integerFields)
{
    for (const char *name : integerFields)
        table.FieldDefs().Add(name, ftInteger, 0);
    for (const auto &[name, size] : stringFields)
        table.FieldDefs().Add(name, ftString, size);
}

TDBGrid *panelGrid(const char *name, TDataSource &source, QWidget *page)
{
    auto *grid = new TDBGrid(page);
    grid->setObjectName(QString::fromLatin1(name));
    grid->SetDataSource(&source);
    page->layout()->addWidget(grid);
    return grid;
}

void addColumn(TDBGrid &grid, const char *field, const QString &title, int width)
{
    TColumn *column = grid.Columns().Add(field);
    if (!title.isEmpty())
        column->Title().SetCaption(title);
    if (width > 0)
        column->SetWidth(width);
}

// Goes to the row whose `field` holds `id`, else to the first row.
void positionOn(TztrMemTable &table, const char *field, int id)
{
    if (!table.Locate(field, id, {}))
        table.First();
}

} // namespace

QTreeWidgetItem *TForm1::selectedRow() const
{
    const QList<QTreeWidgetItem *> selected = LV->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

int TForm1::selectedCourseId() const
{
    const QTreeWidgetItem *row = selectedRow();
    return row ? rowCourseId(*row) : -1;
}

void TForm1::buildCourseTabs()
{
    auto page = [this](const char *name, const QString &caption, int index) {
        auto *widget = new QWidget(PC);
        widget->setObjectName(QString::fromLatin1(name));
        auto *layout = new QVBoxLayout(widget);
        layout->setContentsMargins(0, 0, 0, 0);
        PC->insertTab(index, widget, caption);
        return widget;
    };
    G_okttemp = panelGrid("G_okttemp", DS_oktato_temp, PC_oktatok);
    G_okttemp->SetOptions(TDBGridOptions{dgColumnResize, dgColLines, dgRowLines, dgTabs, dgRowSelect,
                                         dgAlwaysShowSelection});
    G_okttemp->SetReadOnly(true);
    addColumn(*G_okttemp, "oktato_nev", QString(), 230);
    addColumn(*G_okttemp, "oktato_szazalek", QString(), 60);

    PC_targyak = page("PC_targyak", QStringLiteral("Kurzus tárgyai"), PC->indexOf(PC_oktatok) + 1);
    DBGrid2 = panelGrid("DBGrid2", DS_kurzustargy_temp, PC_targyak);
    DBGrid2->SetOptions(TDBGridOptions{dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                                       dgAlwaysShowSelection});
    DBGrid2->SetReadOnly(true);
    addColumn(*DBGrid2, "maxletszam", QStringLiteral("Létszám"), 0);
    addColumn(*DBGrid2, "targy_kod", QStringLiteral("Kód"), 0);
    addColumn(*DBGrid2, "targy_nev", QStringLiteral("Név"), 0);

    // Its cells edit the attached courses in place, straight into the shared course table.
    PC_kurzus = page("PC_kurzus", QStringLiteral("Kurzuscsoport"), PC->indexOf(PC_targyak) + 1);
    DBGrid1 = panelGrid("DBGrid1", DM->DS_kurzus_csatolt, PC_kurzus);
    // Short titles in place of the field names, so that the columns share the panel's width.
    const std::pair<const char *, QString> groupColumns[] = {
        {"kurzus_kod", QStringLiteral("Kód")},          {"kurzus_tipus", QStringLiteral("Típus")},
        {"kurzus_sorszam", QStringLiteral("Sorsz.")},   {"max_letszam", QStringLiteral("Létszám")},
        {"megjegyzes", QStringLiteral("Megjegyzés")}, {"megnevezes", QStringLiteral("Név")}};
    for (const auto &[field, title] : groupColumns)
        addColumn(*DBGrid1, field, title, 0);
}

void TForm1::setUpPanelTables()
{
    MT_oktato_temp.SetName("MT_oktato_temp");
    defineFields(MT_oktato_temp, {{"oktato_kkod", 20}, {"oktato_nev", 60}}, {"oktato_id", "oktato_szazalek"});
    MT_oktato_temp.Open();
    MT_kurzustargy_temp.SetName("MT_kurzustargy_temp");
    defineFields(MT_kurzustargy_temp, {{"targy_nev", 100}, {"targy_kod", 50}, {"targy_teljesites", 50}},
                 {"kurzus_id", "targy_id", "targy_ea", "targy_gy", "targy_la", "targy_kredit", "tanszek_id", "szabad",
                  "evjarat", "maxletszam"});
    MT_kurzustargy_temp.IndexDefs().Add("targy_kod", "targy_kod", {});
    MT_kurzustargy_temp.IndexDefs().Add("targy_nev", "targy_nev", {});
    MT_kurzustargy_temp.Open();
    setUpOccasionTexts();
}

void TForm1::LoadCourseTeachers(int courseId, int teacherId)
{
    if (courseId < 0)
        courseId = selectedCourseId();
    if (courseId < 0)
        return;
    ControlsDisabled still(MT_oktato_temp);
    MT_oktato_temp.EmptyTable();
    refilter(MT_kurzusoktato_temp, keyFilter("kurzus_id", courseId));
    for (; !MT_kurzusoktato_temp.Eof(); MT_kurzusoktato_temp.Next()) {
        const int oktatoId = intOf(MT_kurzusoktato_temp, "oktato_id");
        MT_oktato_temp.Append();
        MT_oktato_temp.FieldByName("oktato_id")->SetAsInteger(oktatoId);
        MT_oktato_temp.FieldByName("oktato_szazalek")->SetAsInteger(intOf(MT_kurzusoktato_temp, "szazalek"));
        if (DM->MT_oktato.Locate("oktato_id", oktatoId, {})) {
            MT_oktato_temp.FieldByName("oktato_kkod")->SetAsString(textOf(DM->MT_oktato, "oktato_kkod"));
            MT_oktato_temp.FieldByName("oktato_nev")->SetAsString(textOf(DM->MT_oktato, "oktato_nev"));
        } else {
            MT_oktato_temp.FieldByName("oktato_kkod")->SetAsString(std::to_string(oktatoId));
            MT_oktato_temp.FieldByName("oktato_nev")->SetAsString(utf8ToCp1250("Ismeretlen oktató"));
        }
        MT_oktato_temp.Post();
    }
    positionOn(MT_oktato_temp, "oktato_id", teacherId);
}

void TForm1::LoadCourseEditor(int courseId)
{
    if (courseId < 0)
        courseId = selectedCourseId();
    if (courseId < 0) {
        for (QLineEdit *edit : {Edit1, Edit2, Edit3, Edit4})
            edit->clear();
        Edit1->setReadOnly(true);
        // The occasion view is emptied by its filter but stays open: the next rebuild walks it.
        refilter(MT_alkalom_temp, keyFilter("kurzus_id", -1));
        return;
    }
    if (!MT_kurzus_temp.Locate("kurzus_id", courseId, {}))
        return;
    Edit1->setText(guiText(textOf(MT_kurzus_temp, "kurzus_kod_osszetett")));
    Edit2->setText(titleOfCourseRow(MT_kurzus_temp));
    Edit3->setText(guiText(textOf(MT_kurzus_temp, "megjegyzes")));
    const QString limit = guiText(MT_kurzus_temp.FieldByName("max_letszam")->AsString());
    Edit4->setText(limit.isEmpty() ? QStringLiteral("0") : limit);
    // A text longer than its box shows from its start, where codes and titles differ.
    for (QLineEdit *edit : {Edit1, Edit2, Edit3})
        edit->setCursorPosition(0);
    Edit1->setReadOnly(!DM->Admin);
    B_kurzusmentes->setText(QStringLiteral("Kurzus mentése"));
}

void TForm1::LoadCourseSubjects(int courseId, int subjectId)
{
    if (courseId < 0)
        courseId = selectedCourseId();
    if (courseId < 0)
        return;
    ControlsDisabled still(MT_kurzustargy_temp);
    MT_kurzustargy_temp.EmptyTable();
    TztrMemTable &links = DM->MT_kurzustargy;
    refilter(links, keyFilter("kurzus_id", courseId));
    TztrMemTable &subjects = DM->MT_targy;
    for (; !links.Eof(); links.Next()) {
        const int targyId = intOf(links, "targy_id");
        const bool found = subjects.Locate("targy_id", targyId, {});
        const auto subjectInt = [&](const char *field, int missing) {
            MT_kurzustargy_temp.FieldByName(field)->SetAsInteger(found ? intOf(subjects, field) : missing);
        };
        MT_kurzustargy_temp.Append();
        MT_kurzustargy_temp.FieldByName("kurzus_id")->SetAsInteger(intOf(links, "kurzus_id"));
        MT_kurzustargy_temp.FieldByName("targy_id")->SetAsInteger(targyId);
        MT_kurzustargy_temp.FieldByName("targy_nev")
            ->SetAsString(found ? textOf(subjects, "targy_nev") : utf8ToCp1250("Ismeretlen tárgy"));
        MT_kurzustargy_temp.FieldByName("targy_kod")->SetAsString(found ? textOf(subjects, "targy_kod") : utf8ToCp1250("Kód???"));
        for (const char *field : {"targy_ea", "targy_gy", "targy_la", "targy_kredit", "evjarat"})
            subjectInt(field, -1);
        subjectInt("szabad", 0);
        MT_kurzustargy_temp.FieldByName("targy_teljesites")
            ->SetAsString(found ? textOf(subjects, "targy_teljesites") : std::string());
        MT_kurzustargy_temp.FieldByName("tanszek_id")->SetAsInteger(-1);
        MT_kurzustargy_temp.FieldByName("maxletszam")->SetAsInteger(intOf(links, "maxletszam"));
        MT_kurzustargy_temp.Post();
    }
    // The shared links are left unfiltered, so no later walk over them misses rows.
    links.SetFiltered(false);
    positionOn(MT_kurzustargy_temp, "targy_id", subjectId);
}

void TForm1::LoadLinkedCourses(int courseId)
{
    if (courseId < 0)
        courseId = selectedCourseId();
    bool show = false;
    TztrMemTable &courses = DM->MT_kurzus;
    if (courseId >= 0 && courses.Locate("kurzus_id", courseId, {})) {
        const int head = intOf(courses, "kurzus_id_csatolt");
        // The group is listed from its head course, whichever of its courses is current.
        if (head <= 0 || courses.Locate("kurzus_id", head, {})) {
            // A link of 0 means "not attached", so a course numbered 0 heads no group.
            DM->MT_kurzus_csatolt.First();
            show = intOf(courses, "kurzus_id") > 0 && !DM->MT_kurzus_csatolt.Eof();
        }
    }
    setPageVisible(PC, PC_kurzus, show);
}

void TForm1::CourseTitle(int courseId, TDataSet *courses, QString &title)
{
    TDataSet &table = courses ? *courses : MT_kurzus_temp;
    if (!table.Active()) {
        title = QStringLiteral("kurzustábla nem aktív");
        return;
    }
    if (!locateKey(table, "kurzus_id", courseId)) {
        title = QStringLiteral("kurzus hiányzik (") + QString::number(courseId) + QLatin1Char(')');
        return;
    }
    title = titleOfCourseRow(table);
}
