#include "dialogs/targybeemeles.h"

#include "data/datam.h"
#include "dialogs/dialogTables.h"
#include "dialogs/dialogsCommon.h"
#include "platform/widgets/DBGrids.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <vector>

using namespace dlg;

Tbeemeles *beemeles = nullptr;

namespace {

void defineCourseList(TztrMemTable &table, const char *name)
{
    table.SetName(name);
    defineFields(table, {{"kurzus_id", ftInteger},
                         {"targy_id", ftInteger},
                         {"kurzus_kod_osszetett", ftString, 50},
                         {"kurzus_kod", ftString, 50},
                         {"kurzus_tipus", ftString, 2},
                         {"kurzus_sorszam", ftString, 2},
                         {"max_letszam", ftInteger},
                         {"megjegyzes", ftString, 100},
                         {"megnevezes", ftString, 100}});
    table.IndexDefs().Add("kurzus_kod_osszetett", "kurzus_kod_osszetett", {});
    table.IndexDefs().Add("megnevezes", "megnevezes", {});
}

TDBGrid *makeCourseGrid(TDataSource &source, int codeWidth, int titleWidth, QWidget *parent)
{
    auto *grid = new TDBGrid(parent);
    grid->SetDataSource(&source);
    grid->SetOptions(grid->Options() + TDBGridOptions{dgRowSelect, dgMultiSelect});
    grid->SetReadOnly(true);
    TColumn *code = grid->Columns().Add("kurzus_kod_osszetett");
    code->Title().SetCaption(QStringLiteral("Kód"));
    code->SetWidth(codeWidth);
    TColumn *title = grid->Columns().Add("megnevezes");
    title->Title().SetCaption(QStringLiteral("Megnevezés"));
    if (titleWidth > 0)
        title->SetWidth(titleWidth);
    grid->OnTitleClick = [grid](TColumn &column) {
        static_cast<TztrMemTable *>(grid->DataSet())->SetIndexFieldNames(column.FieldName());
    };
    return grid;
}

void appendCourse(TztrMemTable &list, int kurzusId, const std::string &code, const std::string &title)
{
    list.Append();
    list.FieldByName("kurzus_id")->SetAsInteger(kurzusId);
    list.FieldByName("kurzus_kod_osszetett")->SetAsString(code);
    list.FieldByName("megnevezes")->SetAsString(title);
    list.Post();
}

// The course ids of a grid's selected rows, in the order they were selected.
std::vector<int> selectedIds(TDBGrid &grid)
{
    std::vector<int> ids;
    TDataSet &table = *grid.DataSet();
    for (int i = 0; i < grid.SelectedRows().Count(); ++i) {
        table.GotoBookmark(grid.SelectedRows()[i]);
        ids.push_back(intOf(table, "kurzus_id"));
    }
    return ids;
}

bool hasCourse(TztrMemTable &table, int kurzusId)
{
    table.SetFiltered(false);
    return table.Locate("kurzus_id", kurzusId, {});
}

void deleteEvery(TztrMemTable &table, int kurzusId)
{
    table.SetFiltered(false);
    while (table.Locate("kurzus_id", kurzusId, {}))
        table.Delete();
}

// Data sources without their datasets for a while, given them back however the while ends.
class GridsLetGo
{
public:
    explicit GridsLetGo(std::initializer_list<TDataSource *> sources)
    {
        for (TDataSource *source : sources) {
            taken_.emplace_back(source, source->DataSet());
            source->SetDataSet(nullptr);
        }
    }
    ~GridsLetGo()
    {
        for (auto [source, dataSet] : taken_)
            source->SetDataSet(dataSet);
    }
    GridsLetGo(const GridsLetGo &) = delete;
    GridsLetGo &operator=(const GridsLetGo &) = delete;

private:
    std::vector<std::pair<TDataSource *, TDataSet *>> taken_;
};

} // namespace

Tbeemeles::Tbeemeles(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("beemeles"));
    setWindowTitle(QStringLiteral("Beemelés"));
    defineCourseList(MT_kurzus1_temp, "MT_kurzus1_temp");
    defineCourseList(MT_kurzus2_temp, "MT_kurzus2_temp");

    DBGrid1 = makeCourseGrid(DS_kurzus1_temp, 131, 0, this);
    DBGrid2 = makeCourseGrid(DS_kurzus2_temp, 129, 249, this);
    B_bevetel = new QPushButton(QStringLiteral(">"), this);
    B_bevetelek = new QPushButton(QStringLiteral(">>"), this);
    B_kivetelek = new QPushButton(QStringLiteral("<<"), this);
    B_kivetel = new QPushButton(QStringLiteral("<"), this);
    Button5 = new QPushButton(QStringLiteral(">>minden elem orarendbe"), this);
    Button6 = new QPushButton(QStringLiteral("<<minden elem orarendből"), this);
    CheckBox1 = new QCheckBox(QStringLiteral("Egyik órarendben sem"), this);
    torles = new QPushButton(QStringLiteral("<Törlés>"), this);
    torles->setVisible(false);
    megse = new QPushButton(QStringLiteral("Visszalépés"), this);
    kivalaszt = new QPushButton(QStringLiteral("Mentés"), this);
    kivalaszt->installEventFilter(this);

    auto *moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton *button : {B_bevetel, B_bevetelek, B_kivetelek, B_kivetel})
        moves->addWidget(button);
    moves->addStretch();
    auto *layout = new QGridLayout(this);
    layout->addWidget(DBGrid1, 0, 0);
    layout->addLayout(moves, 0, 1);
    layout->addWidget(DBGrid2, 0, 2);
    layout->addWidget(Button5, 1, 0);
    layout->addWidget(Button6, 1, 2);
    auto *left = new QHBoxLayout;
    left->addWidget(CheckBox1);
    left->addWidget(torles);
    left->addStretch();
    layout->addLayout(left, 2, 0);
    auto *right = new QHBoxLayout;
    right->addStretch();
    right->addWidget(megse);
    right->addWidget(kivalaszt);
    layout->addLayout(right, 2, 2);
    // The right-hand columns have set widths; the grid shows both whole.
    DBGrid2->setMinimumWidth(DBGrid2->WidthForAllColumns());
    resize(900, 600);

    connect(CheckBox1, &QCheckBox::clicked, this, &Tbeemeles::CheckBox1Click);
    connect(B_bevetel, &QPushButton::clicked, this, &Tbeemeles::B_bevetelClick);
    connect(B_kivetel, &QPushButton::clicked, this, &Tbeemeles::B_kivetelClick);
    connect(B_bevetelek, &QPushButton::clicked, this, &Tbeemeles::B_bevetelekClick);
    connect(B_kivetelek, &QPushButton::clicked, this, &Tbeemeles::B_kivetelekClick);
    connect(Button5, &QPushButton::clicked, this, &Tbeemeles::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &Tbeemeles::Button6Click);
    connect(torles, &QPushButton::clicked, this, &Tbeemeles::torlesClick);
    connect(megse, &QPushButton::clicked, this, &QDialog::reject);
    connect(kivalaszt, &QPushButton::clicked, this, [this] {
        kivalasztClick();
        accept();
    });
}

void Tbeemeles::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool Tbeemeles::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == kivalaszt && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        kivalasztMouseDown(mouse->button(), mouse->modifiers());
    }
    return QDialog::eventFilter(watched, event);
}

void Tbeemeles::FormShow()
{
    frissites();
    torles->setVisible(torles->isVisibleTo(this) || DM->Admin);
}

void Tbeemeles::CheckBox1Click()
{
    torles->setVisible(CheckBox1->isChecked());
    frissites();
    torles->setVisible(CheckBox1->isChecked() || DM->Admin);
}

std::string Tbeemeles::KurzusCim()
{
    TztrMemTable &course = DM->MT_kurzus;
    std::string title = textOf(course, "megnevezes");
    if (title.empty())
        title = lookUp(DM->MT_targy, "targy_id", intOf(course, "targy_id"), "targy_nev");
    if (title.empty() && DM->MT_kurzusminta.Locate("kurzusminta_id", intOf(course, "kurzusminta_id"), {}))
        title = lookUp(DM->MT_targy, "targy_id", intOf(DM->MT_kurzusminta, "targy_id"), "targy_nev");
    return title;
}

void Tbeemeles::frissites()
{
    // Under a grid every appended row would refill the grid's row buffers as well.
    const GridsLetGo detached({&DS_kurzus1_temp, &DS_kurzus2_temp});
    for (TztrMemTable *list : {&MT_kurzus1_temp, &MT_kurzus2_temp}) {
        list->Close();
        list->Open();
    }
    TztrMemTable &courses = DM->MT_kurzus;
    TztrMemTable &links = DM->MT_kurzusorarend;
    Unfiltered allCourses(courses);
    Unfiltered allLinks(links);
    // Every course is visited: the other windows' grids catch up once at the end.
    const ControlsDisabled still({&courses, &links, &DM->MT_targy, &DM->MT_kurzusminta});
    const bool onlyUnlinked = CheckBox1->isChecked();
    for (courses.First(); !courses.Eof(); courses.Next()) {
        const int kurzusId = intOf(courses, "kurzus_id");
        const std::string title = KurzusCim();
        const std::string code = textOf(courses, "kurzus_kod_osszetett");
        if (links.Locate("kurzus_id;orarend_id", VarArrayOf({Variant(kurzusId), Variant(OrarendId)}), {}))
            appendCourse(MT_kurzus2_temp, kurzusId, code, title);
        else if (!onlyUnlinked || !links.Locate("kurzus_id", kurzusId, {}))
            appendCourse(MT_kurzus1_temp, kurzusId, code, title);
    }
    MT_kurzus1_temp.First();
    MT_kurzus2_temp.First();
}

void Tbeemeles::moveRow(TztrMemTable &from, TztrMemTable &to)
{
    appendCourse(to, intOf(from, "kurzus_id"), textOf(from, "kurzus_kod_osszetett"),
                 textOf(from, "megnevezes"));
    from.Delete();
}

void Tbeemeles::moveSelected(TDBGrid &grid, TztrMemTable &from, TztrMemTable &to)
{
    for (int kurzusId : selectedIds(grid))
        if (from.Locate("kurzus_id", kurzusId, {}))
            moveRow(from, to);
    grid.SelectedRows().Clear();
}

void Tbeemeles::B_bevetelClick()
{
    if (hasRow(MT_kurzus1_temp))
        moveRow(MT_kurzus1_temp, MT_kurzus2_temp);
    DBGrid1->SelectedRows().Clear();
}

void Tbeemeles::B_kivetelClick()
{
    if (hasRow(MT_kurzus2_temp))
        moveRow(MT_kurzus2_temp, MT_kurzus1_temp);
    DBGrid2->SelectedRows().Clear();
}

void Tbeemeles::B_bevetelekClick()
{
    moveSelected(*DBGrid1, MT_kurzus1_temp, MT_kurzus2_temp);
}

void Tbeemeles::B_kivetelekClick()
{
    moveSelected(*DBGrid2, MT_kurzus2_temp, MT_kurzus1_temp);
}

void Tbeemeles::Button5Click()
{
    for (MT_kurzus1_temp.First(); hasRow(MT_kurzus1_temp); MT_kurzus1_temp.First())
        moveRow(MT_kurzus1_temp, MT_kurzus2_temp);
}

void Tbeemeles::Button6Click()
{
    for (MT_kurzus2_temp.First(); hasRow(MT_kurzus2_temp); MT_kurzus2_temp.First())
        moveRow(MT_kurzus2_temp, MT_kurzus1_temp);
}

void Tbeemeles::kivalasztClick()
{
    TztrMemTable &links = DM->MT_kurzusorarend;
    links.SetFiltered(false);
    links.First();
    while (links.Locate("orarend_id", OrarendId, {}))
        links.Delete();
    for (MT_kurzus2_temp.First(); !MT_kurzus2_temp.Eof(); MT_kurzus2_temp.Next()) {
        links.Append();
        links.FieldByName("orarend_id")->SetAsInteger(OrarendId);
        links.FieldByName("kurzus_id")->SetAsInteger(intOf(MT_kurzus2_temp, "kurzus_id"));
        links.Post();
    }
    OrarendId = -1;
}

void Tbeemeles::kivalasztMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift)
{
    if (button != Qt::RightButton || !shift.testFlags(Qt::ShiftModifier | Qt::ControlModifier))
        return;
    for (int kurzusId : selectedIds(*DBGrid2))
        if (MT_kurzus2_temp.Locate("kurzus_id", kurzusId, {}))
            MT_kurzus2_temp.Delete();
    DBGrid2->SelectedRows().Clear();
}

void Tbeemeles::torlesClick()
{
    if (DBGrid1->SelectedRows().Count() == 0) {
        ShowMessage(this, QStringLiteral("Nincs kijelölve elem!"));
        return;
    }
    struct Chosen
    {
        int kurzusId;
        QString text;
    };
    std::vector<Chosen> chosen;
    for (int kurzusId : selectedIds(*DBGrid1)) {
        MT_kurzus1_temp.Locate("kurzus_id", kurzusId, {});
        chosen.push_back({kurzusId, guiText(textOf(MT_kurzus1_temp, "kurzus_kod_osszetett") + "/" +
                                            textOf(MT_kurzus1_temp, "megnevezes"))});
    }
    for (const Chosen &course : chosen)
        deleteCourse(course.kurzusId, course.text);
    DBGrid1->SelectedRows().Clear();
    frissites();
}

void Tbeemeles::deleteCourse(int kurzusId, const QString &text)
{
    const struct
    {
        TztrMemTable &table;
        QString question;
    } checks[] = {
        {DM->MT_kurzusorarend, QStringLiteral("A kurzus órarendbe van becsatolva!\r\n")},
        {DM->MT_alkalom, QStringLiteral("A kurzushoz alkalom van rendelve!\n")},
        {DM->MT_kurzusoktato, QStringLiteral("A kurzushoz oktató van rendelve!\n")},
        {DM->MT_kurzustargy, QStringLiteral("A kurzushoz tárgy van rendelve!\n")},
    };
    bool ok = true;
    for (const auto &check : checks) {
        // Every table is looked at unfiltered, also after a refusal.
        if (hasCourse(check.table, kurzusId) && ok)
            ok = Confirm(this, check.question + text + QStringLiteral("\nTörölhetem?"));
    }
    if (ok)
        ok = Confirm(this, QStringLiteral("Biztosan törölhetem?\n\n") + text);
    if (!ok) {
        ShowMessage(this, QStringLiteral("A kurzus törlése megszakítva!"));
        return;
    }
    for (TztrMemTable *table :
         {&DM->MT_kurzustargy, &DM->MT_kurzusoktato, &DM->MT_alkalom, &DM->MT_kurzusorarend, &DM->MT_kurzus})
        deleteEvery(*table, kurzusId);
}
