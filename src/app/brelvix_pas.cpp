#include "app/brelvix_pas.h"

#include "sajat/SajatVCI.h"
#include "app/brelvix_pasCommon.h"
#include "data/datam.h"
#include "platform/widgets/FieldTextInput.h"
#include "platform/widgets/KeepPlaceWhenHidden.h"
#include "platform/widgets/SizeRememberingDelegate.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

TForm1 *Form1 = nullptr;

using namespace mainwindow;

namespace {

constexpr TColor ItemSelBGColor = clSkyBlue;
constexpr TColor ItemBGColor = clMoneyGreen;
// Only the first few teachers fit in a box.
constexpr int MaxTeachersShown = 3;
constexpr int ButtonPanelWidth = 90;

QString itemTitle(const TDataSet *course, const TDataSet *subject)
{
    if (!hasRow(course))
        return QStringLiteral("Hiányzó kurzus!");
    if (const std::string title = textOf(*course, "megnevezes"); !title.empty())
        return guiText(title);
    if (!hasRow(subject))
        return QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");
    return guiText(textOf(*subject, "targy_nev"));
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

QAction *action(const char *name, const QString &caption, QMenu *menu)
{
    QAction *result = menu->addAction(caption);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

} // namespace

namespace mainwindow {

void showMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool confirm(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

} // namespace mainwindow

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    // Room for the working week of the calendar on a common screen.
    resize(1024, 720);
    buildControls();
    buildMenus();
    buildEditingMenus();
    connectHandlers();
    connectEditingHandlers();
    FormCreate();
    setUpPanelTables();
}

TForm1::~TForm1()
{
    // The calendar's items go before the tables their handlers read.
    VL->Items().Clear();
}

void TForm1::buildControls()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *top = new QHBoxLayout;
    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *calendarLayout = new QVBoxLayout(Panel1);
    calendarLayout->setContentsMargins(0, 0, 0, 0);
    VL = new TveltoCalendar(Panel1);
    VL->setObjectName(QStringLiteral("VL"));
    VL->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    calendarLayout->addWidget(VL);
    top->addWidget(Panel1, 1);
    top->addWidget(buildButtonPanel());
    layout->addLayout(top, 1);

    Panel2 = buildBottomPanel();
    layout->addWidget(Panel2);
    setCentralWidget(central);
}

QWidget *TForm1::buildButtonPanel()
{
    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedWidth(ButtonPanelWidth);
    auto *layout = new QVBoxLayout(Panel4);
    constexpr int Margin = 2;
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    B_beosztoras = button("B_beosztoras", QStringLiteral("Órás beosztás"), Panel4);
    B_beosztsajat = button("B_beosztsajat", QStringLiteral("Saját beosztás"), Panel4);
    Button2 = button("Button2", QStringLiteral("Félórás beosztás"), Panel4);
    B_group = button("B_group", QStringLiteral("Órarendek"), Panel4);
    Button9 = button("Button9", QStringLiteral("Teremórarend"), Panel4);
    Mentes = button("Mentes", QStringLiteral("Mentések"), Panel4);
    Button1 = button("Button1", QStringLiteral("Kilépés"), Panel4);
    for (QPushButton *b : {B_beosztoras, B_beosztsajat, Button2, B_group, Button9})
        layout->addWidget(b);
    // The captions have to fit the narrow panel: the font is made small enough for the widest,
    // whatever the font in use.
    QStyleOptionButton option;
    option.initFrom(Button2);
    option.rect = QRect(0, 0, ButtonPanelWidth - 2 * Margin, Button2->sizeHint().height());
    const int room = Button2->style()->subElementRect(QStyle::SE_PushButtonContents, &option, Button2).width();
    int widest = 0;
    for (QPushButton *b : {B_beosztoras, B_beosztsajat, Button2, B_group, Button9, Mentes, Button1})
        widest = std::max(widest, b->fontMetrics().horizontalAdvance(b->text()));
    QFont small = Panel4->font();
    small.setPointSizeF(small.pointSizeF() * std::min(0.8, 0.95 * room / widest));
    Panel4->setFont(small);
    // The free area between the buttons is where the administrator switch is double clicked.
    layout->addStretch(1);
    layout->addWidget(Mentes);
    layout->addWidget(Button1);
    return Panel4;
}

QWidget *TForm1::buildBottomPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    panel->setFixedHeight(250);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    // The course panel's grids need more of the width than the list, which scrolls sideways.
    layout->addWidget(buildCourseListPanel(), 2);
    layout->addWidget(buildOccasionPanel(), 0, Qt::AlignTop);
    layout->addWidget(buildCoursePanel(), 3);
    return panel;
}

QWidget *TForm1::buildCourseListPanel()
{
    auto *panel = new QWidget(this);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    LV = new QTreeWidget(panel);
    LV->setObjectName(QStringLiteral("LV"));
    // Sub-texts 4 and 5 (selection id, subject id) ride along in hidden columns.
    LV->setColumnCount(7);
    LV->setHeaderLabels({QStringLiteral("Órarendi kód"), QStringLiteral("Cím"), QStringLiteral("Létszám"),
                         QStringLiteral("Megjegyzés"), QStringLiteral("Szervező")});
    LV->setColumnWidth(0, boxWidthFor(*LV, WidestCourseCode));
    LV->setColumnWidth(1, 240);
    LV->setColumnWidth(2, 60);
    LV->setColumnWidth(3, 150);
    // "Szervező" carries the course id for the handlers; the last-section stretch must not
    // widen it to show raw ids, so it is hidden outright.
    LV->setColumnHidden(4, true);
    LV->setColumnHidden(5, true);
    LV->setColumnHidden(6, true);
    LV->setRootIsDecorated(false);
    LV->setItemDelegate(new SizeRememberingDelegate(LV));
    LV->setSelectionMode(QAbstractItemView::SingleSelection);
    LV->header()->setSectionsClickable(true);
    LV->header()->setSortIndicatorShown(false);
    LV->setContextMenuPolicy(Qt::CustomContextMenu);
    // The room view hides the list while it walks the courses; the filters below it stay where
    // they are rather than being laid out and drawn again twice.
    keepPlaceWhenHidden(*LV);
    layout->addWidget(LV, 1);

    auto *filters = new QHBoxLayout;
    HetekCB = new QComboBox(panel);
    HetekCB->setObjectName(QStringLiteral("HetekCB"));
    for (int week = 0; week <= 15; ++week)
        HetekCB->addItem(QString::number(week));
    het_SPBUp = new QToolButton(panel);
    het_SPBUp->setObjectName(QStringLiteral("het_SPBUp"));
    het_SPBUp->setArrowType(Qt::UpArrow);
    het_SPBDown = new QToolButton(panel);
    het_SPBDown->setObjectName(QStringLiteral("het_SPBDown"));
    het_SPBDown->setArrowType(Qt::DownArrow);
    AlkalomCB = new QCheckBox(QStringLiteral("Minden alkalom (terem)"), panel);
    AlkalomCB->setObjectName(QStringLiteral("AlkalomCB"));
    AlkalomCB->setChecked(true);
    tobbalkalomCB = new QCheckBox(QStringLiteral("Csak több alkalom (órarend)"), panel);
    tobbalkalomCB->setObjectName(QStringLiteral("tobbalkalomCB"));
    for (QWidget *w : std::initializer_list<QWidget *>{HetekCB, het_SPBUp, het_SPBDown})
        filters->addWidget(w);
    filters->addStretch(1);
    layout->addLayout(filters);
    // Under the week filter rather than beside it, so that the list, the occasion panel and the
    // course panel fit a common screen side by side.
    layout->setSpacing(0);
    layout->addWidget(AlkalomCB);
    layout->addWidget(tobbalkalomCB);
    return panel;
}

QWidget *TForm1::buildCoursePanel()
{
    auto *panel = new QWidget(this);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    PC = new QTabWidget(panel);
    PC->setObjectName(QStringLiteral("PC"));
    auto page = [this](const char *name, const QString &caption) {
        auto *widget = new QWidget(PC);
        widget->setObjectName(QString::fromLatin1(name));
        new QVBoxLayout(widget);
        widget->layout()->setContentsMargins(0, 0, 0, 0);
        PC->addTab(widget, caption);
        return widget;
    };
    PC_oktatok = page("PC_oktatok", QStringLiteral("Oktatók"));
    PC_orarend = page("PC_orarend", QStringLiteral("Órarend"));
    PC_terem = page("PC_terem", QStringLiteral("Terem"));
    PC_oktato = page("PC_oktato", QStringLiteral("Oktató"));
    PC_tantargy = page("PC_tantargy", QStringLiteral("Tantárgy"));
    buildCourseTabs();
    LV_orarend = new SelectorList("LV_orarend", 1, PC_orarend);
    LV_terem = new SelectorList("LV_terem", 1, PC_terem);
    LV_oktato = new SelectorList("LV_oktato", 1, PC_oktato);
    LV_tantargy = new SelectorList("LV_tantargy", 2, PC_tantargy);
    PC_orarend->layout()->addWidget(LV_orarend);
    PC_terem->layout()->addWidget(LV_terem);
    PC_oktato->layout()->addWidget(LV_oktato);
    PC_tantargy->layout()->addWidget(LV_tantargy);
    layout->addWidget(PC, 1);

    // Code and title, remark and head count, the course buttons and the days each on a row of
    // their own, so that all show whole beside the list and the occasion panel on a common screen.
    auto *names = new QHBoxLayout;
    auto *edits = new QHBoxLayout;
    auto *actions = new QHBoxLayout;
    auto *days = new QHBoxLayout;
    auto edit = [panel](QBoxLayout *row, const char *name, const QString &placeholder, int stretch) {
        auto *result = new QLineEdit(panel);
        result->setObjectName(QString::fromLatin1(name));
        result->setPlaceholderText(placeholder);
        row->addWidget(result, stretch);
        return result;
    };
    Edit1 = edit(names, "Edit1", QStringLiteral("Órarendi kód"), 0);
    Edit1->setMinimumWidth(boxWidthFor(*Edit1, WidestCourseCode));
    Edit1->setReadOnly(true);
    Edit2 = edit(names, "Edit2", QStringLiteral("Órarendi név"), 1);
    Edit3 = edit(edits, "Edit3", QStringLiteral("Megjegyzés"), 1);
    // A remark of a few words shows whole.
    Edit3->setMinimumWidth(boxWidthFor(*Edit3, QStringLiteral("Megjegyzés a kurzushoz")));
    Edit4 = edit(edits, "Edit4", QStringLiteral("Létszám"), 0);
    limitEditToField(*Edit1, DM->MT_kurzus.FieldByName("kurzus_kod_osszetett"));
    limitEditToField(*Edit2, DM->MT_kurzus.FieldByName("megnevezes"));
    limitEditToField(*Edit3, DM->MT_kurzus.FieldByName("megjegyzes"));
    Edit4->setMaximumWidth(boxWidthFor(*Edit4, Edit4->placeholderText()));
    B_kurzusmentes = button("B_kurzusmentes", QStringLiteral("Kurzus mentés"), panel);
    edits->addWidget(B_kurzusmentes);
    B_letrehozas = button("B_letrehozas", QStringLiteral("Létrehozás"), panel);
    B_beemeles = button("B_beemeles", QStringLiteral("Beemelés"), panel);
    Button3 = button("Button3", QStringLiteral("Nyomólemez"), panel);
    B_egyfogl = button("B_egyfogl", QStringLiteral("Egyedi foglalás"), panel);
    // Shown for administrators only; hidden from the start, so that the window's first layout
    // does not make room for it.
    B_egyfogl->hide();
    for (QPushButton *b : {B_letrehozas, B_beemeles, Button3, B_egyfogl})
        actions->addWidget(b);
    actions->addStretch(1);

    static const char *const dayNames[] = {"H", "K", "Sze", "Cs", "P", "Szo", "V"};
    for (int i = 0; i < 7; ++i) {
        CBNap[i] = new QCheckBox(QString::fromUtf8(dayNames[i]), panel);
        CBNap[i]->setObjectName(QStringLiteral("CBNap%1").arg(i + 1));
        CBNap[i]->setChecked(i < 5);
        days->addWidget(CBNap[i]);
    }
    B_admin = button("B_admin", QStringLiteral("X"), panel);
    B_admin->hide();
    B_szunet = button("B_szunet", QStringLiteral("S"), panel);
    for (QPushButton *small : {B_admin, B_szunet})
        small->setFixedWidth(24);
    UN = new QLabel(panel);
    UN->setObjectName(QStringLiteral("UN"));
    UN->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{B_admin, B_szunet, UN})
        days->addWidget(w);
    days->addStretch(1);
    for (QBoxLayout *row : {names, edits, actions, days})
        layout->addLayout(row);
    return panel;
}

void TForm1::buildMenus()
{
    PM_LV = new QMenu(this);
    PM_LV->setObjectName(QStringLiteral("PM_LV"));
    PM_LV0 = action("PM_LV0", QStringLiteral("Összes"), PM_LV);
    PM_LV1 = action("PM_LV1", QStringLiteral("Nincs terem"), PM_LV);
    PM_LV2 = action("PM_LV2", QStringLiteral("Nincs alkalom"), PM_LV);
    PM_LV3 = action("PM_LV3", QStringLiteral("Nincs Oktató"), PM_LV);
    PM_LV4 = action("PM_LV4", QStringLiteral("Nincs létszámkorlát"), PM_LV);
    Nincstrgyfelels1 = action("Nincstrgyfelels1", QStringLiteral("Nincs tárgyfelelős"), PM_LV);
    PM_LV->addSeparator();
    Kapcsolo = action("Kapcsolo", QStringLiteral("Órarendi kapcsoló"), PM_LV);

    PM_Uzemmod = new QMenu(this);
    PM_Uzemmod->setObjectName(QStringLiteral("PM_Uzemmod"));
    PM_Uzemmod->addAction(QStringLiteral("Üzemmódok:"));
    PM_Uzemmod->addAction(QString());
    auto *modes = new QActionGroup(PM_Uzemmod);
    UM_orarendek = action("UM_orarendek", QStringLiteral("Órarendek"), PM_Uzemmod);
    UM_terem = action("UM_terem", QStringLiteral("Termek"), PM_Uzemmod);
    UM_oktato = action("UM_oktato", QStringLiteral("Oktatók"), PM_Uzemmod);
    UM_orarend = action("UM_orarend", QStringLiteral("Órarendek"), PM_Uzemmod);
    UM_tantargy = action("UM_tantargy", QStringLiteral("Tantárgyak"), PM_Uzemmod);
    for (QAction *mode : {UM_orarendek, UM_terem, UM_oktato, UM_orarend, UM_tantargy}) {
        mode->setCheckable(true);
        modes->addAction(mode);
    }
    UM_orarendek->setChecked(true);
    PM_Uzemmod->setDefaultAction(UM_orarendek);

    vlPopUpMenu = new QMenu(this);
    vlPopUpMenu->setObjectName(QStringLiteral("vlPopUpMenu"));
    static const char *const dayCaptions[] = {"Hétfő", "Kedd", "Szerda", "Csütörtök", "Péntek", "Szombat", "Vasárnap"};
    for (int i = 0; i < 7; ++i) {
        Nap[i] = vlPopUpMenu->addAction(QString::fromUtf8(dayCaptions[i]));
        Nap[i]->setObjectName(QStringLiteral("Nap%1").arg(i + 1));
        Nap[i]->setCheckable(true);
        Nap[i]->setChecked(i < 5);
    }
    Igazts1 = action("Igazts1", QStringLiteral("Igazítás"), vlPopUpMenu);
    rarendek1 = action("rarendek1", QStringLiteral("Órarendek"), vlPopUpMenu);
    QMenu *colours = vlPopUpMenu->addMenu(QStringLiteral("Szinek"));
    Norml1 = action("Norml1", QStringLiteral("Normál"), colours);
    Fehr1 = action("Fehr1", QStringLiteral("Fehér"), colours);
    Fehrnyomtatshoz1 = action("Fehrnyomtatshoz1", QStringLiteral("Fehér (nyomtatáshoz)"), colours);
    Csakrarend1 = action("Csakrarend1", QStringLiteral("Csak órarend"), vlPopUpMenu);
    Minden1 = action("Minden1", QStringLiteral("Minden"), vlPopUpMenu);
    Nyomtats1 = action("Nyomtats1", QStringLiteral("Nyomtatás"), vlPopUpMenu);
    VL->SetPopupMenu(vlPopUpMenu);
}

void TForm1::connectHandlers()
{
    // Course list.
    connect(LV, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem *> selected = LV->selectedItems();
        if (!selected.isEmpty())
            LVSelectItem(selected.first());
    });
    connect(LV->header(), &QHeaderView::sectionClicked, this, &TForm1::LVColumnClick);
    connect(LV, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PM_LV->popup(LV->viewport()->mapToGlobal(pos)); });
    const std::pair<QAction *, int> filterCodes[] = {{PM_LV0, 3}, {PM_LV1, 2}, {PM_LV2, 0},
                                                     {PM_LV3, 1}, {PM_LV4, 4}, {Nincstrgyfelels1, 5}};
    for (const auto &[entry, code] : filterCodes)
        connect(entry, &QAction::triggered, this, [this, code = code] { ListFilterClick(code); });
    connect(Kapcsolo, &QAction::triggered, this, &TForm1::KapcsoloClick);
    connect(HetekCB, &QComboBox::currentIndexChanged, this, &TForm1::HetekCBChange);
    connect(AlkalomCB, &QCheckBox::toggled, this, &TForm1::AlkalomCBClick);
    connect(tobbalkalomCB, &QCheckBox::toggled, this, &TForm1::tobbalkalomCBClick);
    connect(het_SPBUp, &QToolButton::clicked, this, &TForm1::het_SPBUpClick);
    connect(het_SPBDown, &QToolButton::clicked, this, &TForm1::het_SPBDownClick);
    VL->OnDetails = [this](TveltoCalendar &, TCustomCalendarItem *item) { VLDetails(item); };
    VL->OnClick = [this](TveltoCalendar &, TCustomCalendarItem *item) { VLClick(item); };
    VL->OnKeyUp = [this](TmyCustomGrid &, int &key, Qt::KeyboardModifiers shift) { VLKeyUp(key, shift); };

    // Modes and selectors.
    for (QAction *mode : {UM_orarendek, UM_terem, UM_oktato, UM_orarend, UM_tantargy})
        connect(mode, &QAction::triggered, this, [this, mode] { UM_tipusClick(mode); });
    connect(B_group, &QPushButton::clicked, this, &TForm1::B_groupClick);
    for (QWidget *holder : {Panel4, static_cast<QWidget *>(B_group)}) {
        holder->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(holder, &QWidget::customContextMenuRequested, this,
                [this, holder](const QPoint &pos) { PM_Uzemmod->popup(holder->mapToGlobal(pos)); });
    }
    const std::pair<QTreeWidget *, void (TForm1::*)(QTreeWidgetItem *)> selectors[] = {
        {LV_orarend, &TForm1::LV_orarendSelectItem},
        {LV_terem, &TForm1::LV_teremSelectItem},
        {LV_oktato, &TForm1::LV_oktatoSelectItem},
        {LV_tantargy, &TForm1::LV_tantargySelectItem}};
    for (const auto &[list, handler] : selectors) {
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list = list, handler = handler] {
            const QList<QTreeWidgetItem *> selected = list->selectedItems();
            if (!selected.isEmpty())
                (this->*handler)(selected.first());
        });
    }

    // Shell.
    connect(Mentes, &QPushButton::clicked, this, &TForm1::MentesClick);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(B_admin, &QPushButton::clicked, this, &TForm1::B_adminClick);
    connect(B_szunet, &QPushButton::clicked, this, &TForm1::B_szunetClick);
    connect(B_beosztsajat, &QPushButton::clicked, this, &TForm1::B_beosztsajatClick);
    connect(B_beosztoras, &QPushButton::clicked, this, &TForm1::B_beosztorasClick);
    connect(Button2, &QPushButton::clicked, this, &TForm1::B_beosztfelorasClick);
    for (QAction *day : Nap)
        connect(day, &QAction::triggered, this, [this, day] { Nap7Click(day); });
    connect(Igazts1, &QAction::triggered, this, [this] { Nap7Click(Igazts1); });
    for (QCheckBox *day : CBNap)
        connect(day, &QCheckBox::clicked, this, [this, day] { Nap7Click(day); });
    connect(Csakrarend1, &QAction::triggered, this, &TForm1::Csakrarend1Click);
    connect(Minden1, &QAction::triggered, this, &TForm1::Minden1Click);
    connect(Norml1, &QAction::triggered, this, &TForm1::Norml1Click);
    connect(Fehr1, &QAction::triggered, this, &TForm1::Fehr1Click);
    connect(Fehrnyomtatshoz1, &QAction::triggered, this, &TForm1::Fehrnyomtatshoz1Click);
    connect(Nyomtats1, &QAction::triggered, this, &TForm1::Nyomtats1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    Panel4->installEventFilter(this);
    // The cells are fitted to the calendar's client area, which is sized after the calendar.
    VL->viewport()->installEventFilter(this);
    qApp->installEventFilter(&ApplicationEvents1);
}

void TForm1::FormCreate()
{
    ScrollGuard = false;
    RoomTextOn = false;
    NapBusy = 0;
    DM->MappaFrissites();
    MT_kurzus_temp.SetName("MT_kurzus_temp");
    // The walks find every course they list by its id.
    MT_kurzus_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_kurzus_temp.SetAttachedTo(&DM->MT_kurzus);
    MT_kurzus_temp.Open();
    // The kurzus_id filters of the walks find their links through this index, not by a scan.
    for (auto [links, name] : {std::pair{&MT_kurzusoktato_temp, "MT_kurzusoktato_temp"},
                               std::pair{&MT_kurzusoktato_temp2, "MT_kurzusoktato_temp2"}}) {
        links->SetName(name);
        links->IndexDefs().Add("Index1", "kurzus_id", {});
        links->SetAttachedTo(&DM->MT_kurzusoktato);
        links->Open();
    }
    const auto roomText = [this](TField &sender, std::string &text, bool displayText) {
        MT_alkalom_tempkiirasGetText(sender, text, displayText);
    };
    // Open before the panel's table, whose first row the occasion counter already numbers.
    occasionCounter_.SetName("occasionCounter");
    occasionCounter_.IndexDefs().Add("Index1", "kurzus_id", {});
    occasionCounter_.SetAttachedTo(&DM->MT_alkalom);
    occasionCounter_.Open();
    MT_alkalom_temp.SetName("MT_alkalom_temp");
    MT_alkalom_temp.SetDefaultFormat(&DM->CSV);
    MT_alkalom_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_alkalom_temp.SetAttachedTo(&DM->MT_alkalom);
    MT_alkalom_temp.FieldByName("kiiras")->OnGetText = roomText;
    MT_alkalom_temp.Open();
    MT_alkalom_teremtemp.SetName("MT_alkalom_teremtemp");
    MT_alkalom_teremtemp.IndexDefs().Add("Index1", "kurzus_id;terem_id", {});
    MT_alkalom_teremtemp.SetAttachedTo(&DM->MT_alkalom);
    MT_alkalom_teremtemp.FieldByName("kiiras")->OnGetText = roomText;
    MT_alkalom_teremtemp.Open();
    DM->MT_terem_alkalomhoz.Open();
    setTimeRows(4);
    setWindowTitle(QStringLiteral("Órarend ") + SemesterCaption(DM->Felev));
}
void TForm1::MT_alkalom_tempkiirasGetText(TField &sender, std::string &text, bool displayText)
{
    if (!displayText) {
        text = "Not display";
        return;
    }
    text.clear();
    if (!RoomTextOn || !hasRow(sender.DataSet()))
        return;
    const int teremId = intOf(*sender.DataSet(), "terem_id");
    TztrMemTable &rooms = DM->MT_terem_alkalomhoz;
    if (locateKey(rooms, "terem_id", teremId))
        text = textOf(rooms, "terem_hely") + "-" + textOf(rooms, "terem_kod");
    else
        text = teremId < 0 ? "Nincs terem" : "Nincs meg a terem";
}

void TForm1::AddCalendarItem(TDataSet &occasion, TDataSet *course, TDataSet *subject)
{
    ControlsDisabled still(MT_kurzusoktato_temp2);
    auto *item = VL->Items().Add<TSajat>();
    item->SetSelBGColor(ItemSelBGColor);
    item->SetBGColor(ItemBGColor);
    item->AlkalomID = intOf(occasion, "alkalom_id");
    item->KurzusID = hasRow(course) ? intOf(*course, "kurzus_id") : -1;
    fillItem(*item, occasion, course, subject, teacherNames(intOf(occasion, "kurzus_id")));
}

void TForm1::UpdateCalendarItem(TDataSet &occasion, TDataSet *course, TDataSet *subject)
{
    TSajat *item = FindCalendarItem(intOf(occasion, "alkalom_id"));
    if (!item) {
        showMessage(this, QStringLiteral("A Calendar-ban nem találom az alkalmat!"));
        return;
    }
    fillItem(*item, occasion, course, subject, item->Oktatok());
}

void TForm1::fillItem(TSajat &item, TDataSet &occasion, TDataSet *course, TDataSet *subject,
                      const QString &oktatok)
{
    item.SetStart(occasion.FieldByName("kezd_ido")->AsDateTime());
    // Only the time of day of the end counts: an occasion never spans midnight on purpose.
    item.SetEndTime(occasion.FieldByName("veg_ido")->AsDateTime());
    item.SetTexts({.Kod = hasRow(course) ? guiText(textOf(*course, "kurzus_kod_osszetett")) : QString(),
                   .Nev = itemTitle(course, subject),
                   .Oktatok = oktatok,
                   .Kiiras = guiText(occasion.FieldByName("kiiras")->DisplayText()),
                   .Hetek = guiText(textOf(occasion, "hetek")),
                   .Gyakorisag = intOf(occasion, "gyakorisag")});
}

QString TForm1::teacherNames(int kurzusId)
{
    if (RefreshBusy && rebuildTeachers_ && rebuildTeachers_->first == kurzusId)
        return rebuildTeachers_->second;
    // The occasions of a course come one after the other, and a filter already on this course
    // lets through the same links without being compiled again.
    const std::string filter = keyFilter("kurzus_id", kurzusId);
    if (MT_kurzusoktato_temp2.Filtered() && MT_kurzusoktato_temp2.Filter() == filter)
        MT_kurzusoktato_temp2.First();
    else
        refilter(MT_kurzusoktato_temp2, filter);
    QStringList names;
    // A link whose teacher is gone still takes one of the places.
    for (int link = 0; link < MaxTeachersShown && !MT_kurzusoktato_temp2.Eof(); ++link) {
        if (locateKey(DM->MT_oktato, "oktato_id", intOf(MT_kurzusoktato_temp2, "oktato_id")))
            names << guiText(textOf(DM->MT_oktato, "oktato_nev"));
        MT_kurzusoktato_temp2.Next();
    }
    QString joined = names.join(QStringLiteral(", "));
    if (RefreshBusy)
        rebuildTeachers_.emplace(kurzusId, joined);
    return joined;
}

TSajat *TForm1::FindCalendarItem(int alkalomId) const
{
    for (TCustomCalendarItem *item : VL->Items()) {
        auto *occasionItem = dynamic_cast<TSajat *>(item);
        if (occasionItem && occasionItem->AlkalomID == alkalomId)
            return occasionItem;
    }
    return nullptr;
}

TDataSet *TForm1::courseSubject(TDataSet *course)
{
    const int targyId = hasRow(course) ? intOf(*course, "targy_id") : -1;
    return locateKey(DM->MT_targy, "targy_id", targyId) ? &DM->MT_targy : nullptr;
}

void TForm1::AddCalendarItemForCourse(TDataSet &occasion, TDataSet *course)
{
    AddCalendarItem(occasion, course, courseSubject(course));
}

void TForm1::UpdateCalendarItemForCourse(TDataSet &occasion, TDataSet *course)
{
    UpdateCalendarItem(occasion, course, courseSubject(course));
}

void TForm1::AddOccasionToCalendar(TDataSet &occasion)
{
    if (MT_kurzus_temp.Locate("kurzus_id", intOf(occasion, "kurzus_id"), {}))
        AddCalendarItemForCourse(occasion, &MT_kurzus_temp);
}

void TForm1::UpdateOccasionInCalendar(TDataSet &occasion)
{
    if (MT_kurzus_temp.Locate("kurzus_id", intOf(occasion, "kurzus_id"), {}))
        UpdateCalendarItemForCourse(occasion, &MT_kurzus_temp);
}

bool HasWeekFrom(const std::string &mask, int from)
{
    if (from > int(mask.size()))
        return false;
    return mask.find('1', std::size_t(std::max(from, 1) - 1)) != std::string::npos;
}

QString SemesterCaption(const std::string &felev)
{
    const QString semester = guiText(felev);
    const bool autumn = felev.size() >= 11 && felev[10] == '1';
    return QStringLiteral(" (") + semester + (autumn ? QStringLiteral(" ősz)") : QStringLiteral(" tavasz)"));
}
