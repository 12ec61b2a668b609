// The menus of course and occasion editing and the wiring of their handlers.

#include "app/brelvix_pas.h"

#include "platform/widgets/DBCtrls.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

QAction *entry(const char *name, const QString &caption, QMenu *menu)
{
    QAction *result = menu->addAction(caption);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

QMenu *popup(const char *name, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

// Runs a handler when a widget loses the focus, whether or not its text changed.
class FocusLeave : public QObject {
public:
    FocusLeave(QWidget *watched, std::function<void()> handler) : QObject(watched), handler_(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut)
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

void TForm1::buildEditingMenus()
{
    QAction *firstViewOption = vlPopUpMenu->actions().value(0);
    Felvetel = new QAction(QStringLiteral("Felvétel"), vlPopUpMenu);
    Vizsga = new QAction(QStringLiteral("Vizsgaidőpont felvétel"), vlPopUpMenu);
    Szabadterem = new QAction(QStringLiteral("Szabad terem"), vlPopUpMenu);
    Felvetel->setObjectName(QStringLiteral("Felvetel"));
    Vizsga->setObjectName(QStringLiteral("Vizsga"));
    Szabadterem->setObjectName(QStringLiteral("Szabadterem"));
    vlPopUpMenu->insertActions(firstViewOption, {Felvetel, Vizsga, Szabadterem});
    vlPopUpMenu->insertSeparator(firstViewOption);

    PM_LV->addSeparator();
    EltavolitoLV = entry("EltavolitoLV", QStringLiteral("Eltávolítás órarendből"), PM_LV);
    Szaporito = entry("Szaporito", QStringLiteral("Kurzus másolása"), PM_LV);
    Foglalsok1 = entry("Foglalsok1", QStringLiteral("Tantárgy foglalásai"), PM_LV);
    Ltszmadatok1 = entry("Ltszmadatok1", QStringLiteral("Létszámadatok..."), PM_LV);
    Kurzusmintacsere = entry("Kurzusmintacsere", QStringLiteral("Kurzusminta csere"), PM_LV);

    popuptoktato = popup("popuptoktato", this);
    tnew = entry("tnew", QStringLiteral("Felvétel"), popuptoktato);
    tdel = entry("tdel", QStringLiteral("Törlés"), popuptoktato);
    tinfo = entry("tinfo", QStringLiteral("Oktató órarendje"), popuptoktato);
    G_okttemp->SetPopupMenu(popuptoktato);

    kurzustargyai = popup("kurzustargyai", this);
    kurzustargyDel = entry("kurzustargyDel", QStringLiteral("Kapcsolódó tárgy törlése"), kurzustargyai);
    kurzustargynew = entry("kurzustargynew", QStringLiteral("Új tárgy csatolása"), kurzustargyai);
    kurzustargydef = entry("kurzustargydef", QStringLiteral("Alapértelmezés visszaállítása"), kurzustargyai);
    kurzustargyswap = entry("kurzustargyswap", QStringLiteral("Kurzusmita csere"), kurzustargyai);
    kurzustargyswap->setVisible(false);
    AlapertelmezettTargykurzustargydefswap = entry("AlapertelmezettTargykurzustargydefswap",
                                                   QStringLiteral("Alapértelmezett tárgy csere"), kurzustargyai);
    rarendikapcsol1 = entry("rarendikapcsol1", QStringLiteral("Órarendi kapcsoló"), kurzustargyai);
    DBGrid2->SetPopupMenu(kurzustargyai);

    popupgyak = popup("popupgyak", this);
    static const char *const frequencies[] = {"Minden héten",    "Páratlan héten",  "Páros héten",
                                              "Minden 3. héten", "Minden 4. héten", "Egyedi beosztás"};
    static const char *const names[] = {"Het0", "Het1", "Het2", "Het3", "Het4", "Het999"};
    for (std::size_t i = 0; i < Het.size(); ++i)
        Het[i] = entry(names[i], QString::fromUtf8(frequencies[i]), popupgyak);
    DBEdit5->SetPopupMenu(popupgyak);

    PMSajat = popup("PMSajat", this);
    rls2 = entry("rls2", QStringLiteral("Törlés"), PMSajat);
    UresSor1 = entry("UresSor1", QString(), PMSajat);
    Orarendben = PMSajat->addMenu(QStringLiteral("Órarendben"));
    Orarendben->setObjectName(QStringLiteral("Orarendben"));
    Alapertelmezes = PMSajat->addMenu(QStringLiteral("Alapértelmezés (később)"));
    Alapertelmezes->setObjectName(QStringLiteral("Alapertelmezes"));
    Letszamadatok = entry("Letszamadatok", QStringLiteral("Létszámadatok"), PMSajat);
    PMSajat->addSeparator();
    Kivagas = entry("Kivagas", QStringLiteral("Kivágás"), PMSajat);
    EltavolitoSC = entry("EltavolitoSC", QStringLiteral("Eltávolítás órarendből"), PMSajat);
    Szaporito1 = entry("Szaporito1", QStringLiteral("Kurzus másolása"), PMSajat);
    Foglalsok2 = entry("Foglalsok2", QStringLiteral("Tantárgy foglalásai"), PMSajat);
    Foglalasok4 = entry("Foglalasok4", QStringLiteral("Kapcsolódó tárgyak foglalásai"), PMSajat);
    Foglalsok3 = entry("Foglalsok3", QStringLiteral("Terem foglalásai"), PMSajat);
    rarendikapcsol2 = entry("rarendikapcsol2", QStringLiteral("Órarendi kapcsoló"), PMSajat);
    VL->SetItemPopupMenu(PMSajat);
}

void TForm1::connectEditingHandlers()
{
    const auto on = [this](QAction *action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };
    // Course editing.
    connect(B_kurzusmentes, &QPushButton::clicked, this, &TForm1::B_kurzusmentesClick);
    connect(B_letrehozas, &QPushButton::clicked, this, &TForm1::B_letrehozasClick);
    connect(B_beemeles, &QPushButton::clicked, this, &TForm1::B_beemelesClick);
    connect(B_egyfogl, &QPushButton::clicked, this, &TForm1::B_egyedifoglalasClick);
    new FocusLeave(Edit1, [this] { Edit1Exit(); });
    new FocusLeave(Edit4, [this] { Edit4Change(); });
    for (QAction *action : {EltavolitoLV, EltavolitoSC})
        on(action, &TForm1::EltavolitoClick);
    for (QAction *action : {Szaporito, Szaporito1})
        on(action, &TForm1::Szaporito1Click);
    on(Kivagas, &TForm1::KivagoClick);

    // Teachers and subjects.
    on(tnew, &TForm1::OktatofelvetelClick);
    on(tdel, &TForm1::oktatodelClick);
    on(tinfo, &TForm1::oktatoinfoClick);
    connect(popuptoktato, &QMenu::aboutToShow, this, &TForm1::popuptoktatoPopup);
    G_okttemp->OnCellClick = [this](TColumn &column) { G_okttempCellClick(column); };
    connect(kurzustargyai, &QMenu::aboutToShow, this, &TForm1::kurzustargyaiPopup);
    on(kurzustargyDel, &TForm1::kurzustargyDelClick);
    on(kurzustargynew, &TForm1::kurzustargynewClick);
    on(kurzustargydef, &TForm1::kurzustargydefClick);
    for (QAction *action : {kurzustargyswap, Kurzusmintacsere})
        on(action, &TForm1::kurzustargyswapClick);
    on(AlapertelmezettTargykurzustargydefswap, &TForm1::AlapertelmezettTargykurzustargydefswapClick);
    for (QAction *action : {rarendikapcsol1, rarendikapcsol2})
        on(action, &TForm1::KapcsoloClick);
    DBGrid2->OnCellClick = [this](TColumn &column) { DBGrid2CellClick(column); };
    DBGrid2->OnTitleClick = [this](TColumn &column) { DBGrid2TitleClick(column); };

    // Occasions.
    VL->OnMoving = [this](TveltoCalendar &, TCustomCalendarItem *item, TDateTime newStart, TDateTime newEnd, int,
                          bool &accept) { VLMoving(item, newStart, newEnd, accept); };
    VL->OnResizing = [this](TveltoCalendar &, TCustomCalendarItem *item, TDateTime newStart, TDateTime newEnd, int,
                            bool &accept) { VLResizing(item, newStart, newEnd, accept); };
    on(rls2, &TForm1::alkalomtorlesClick);
    connect(Felvetel, &QAction::triggered, this, [this] { AlkalomFelvetelClick(Felvetel); });
    for (QAction *frequency : Het)
        connect(frequency, &QAction::triggered, this, [this, frequency] { Het0Click(frequency); });
    DBEdit5->OnDblClick = [this](TDBEdit &) { DBEdit5DblClick(); };
    DBEdit6->OnDblClick = [this](TDBEdit &) { DBEdit6DblClick(); };

    // Item popup and occupancy views.
    connect(PMSajat, &QMenu::aboutToShow, this, &TForm1::PMSajatPopup);
    connect(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    for (QAction *action : {Foglalsok1, Foglalsok2})
        on(action, &TForm1::Foglalsok1Click);
    on(Foglalasok4, &TForm1::Foglalasok4Click);
    on(Foglalsok3, &TForm1::Foglalsok3Click);
}
