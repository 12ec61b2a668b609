// The frame of the main window: show, the button panel, the administrator switch, days and time
// rows of the calendar with its fitting, colour schemes, and printing.

#include "app/brelvix_pas.h"

#include "app/brelvix_pasCommon.h"
#include "data/adoform.h"
#include "data/datam.h"
#include "dialogs/Admin_table.h"
#include "platform/SysUtils.h"
#include "platform/widgets/VirtualKeys.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QTabWidget>

using namespace mainwindow;

namespace {

// Started from here, the first double click on the button panel switches administrator mode on.
constexpr const char *DeveloperFolder = "C:/Brelvix/Fejlesztes/";
// Administrators count a few double clicks on the panel before the switch gives in.
constexpr int AdminClicksNeeded = 6;
constexpr int AdminClicksFromDeveloperFolder = 55;


constexpr TColor NormalFixedColor = 0xA4A0A0;
// The margin around the printed image, in printer pixels.
constexpr int PrintMargin = 50;

bool isAdministratorOfThisDesk(const std::string &login)
{
    return login == AdminUsers[0] || login == AdminUsers[3];
}

// The 0-based day of an object named prefix + 1..7, or -1.
int dayOfName(const QObject *sender, QLatin1String prefix)
{
    const QString name = sender->objectName();
    if (!name.startsWith(prefix) || name.size() != prefix.size() + 1)
        return -1;
    const int day = name.back().digitValue();
    return day >= 1 && day <= 7 ? day - 1 : -1;
}

} // namespace

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm1::FormShow()
{
    UN->setText(guiText(DM->Felhasznalo));
    B_egyfogl->setVisible(DM->Admin);
    B_admin->setVisible(isAdministratorOfThisDesk(DM->Felhasznalo));
    DM->MappaFrissites();
    WeekMask = "111111111111111";
    AdminClickCount = DM->Mappa == DeveloperFolder ? AdminClicksFromDeveloperFolder : 0;
    TimetableId = -1;
    SelectionId = -1;
    RefreshBusy = false;
    SelectBusy = false;
    ListFilter = 3;
    WorkMode = 0;
    // No course is current yet, so the occasion panel starts empty rather than on whichever
    // occasion of the whole store comes first.
    refilter(MT_alkalom_temp, keyFilter("kurzus_id", -1));
    B_beosztsajatClick();
    showSelectorPage(nullptr);
    VL->SetHetek(1);
    setWindowTitle(QStringLiteral("Órarend ") + SemesterCaption(DM->Felev));
    for (QLineEdit *edit : {Edit1, Edit2, Edit3, Edit4})
        edit->clear();
    Nap7Click(this);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel4 && event->type() == QEvent::MouseButtonDblClick)
        Panel4DblClick();
    else if (watched == VL->viewport() && event->type() == QEvent::Resize)
        Panel1Resize();
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::MentesClick()
{
    DM->Mentes();
}

void TForm1::Button1Click()
{
    if (isAdministratorOfThisDesk(DM->Felhasznalo) || confirm(this, QStringLiteral("Biztosan?")))
        close();
}

void TForm1::Panel4DblClick()
{
    if (AdminClickCount < AdminClicksNeeded && !DM->Admin) {
        ++AdminClickCount;
        return;
    }
    DM->Admin = true;
    B_egyfogl->setVisible(true);
    Adminka->exec();
    Edit1->setReadOnly(false);
}

void TForm1::B_adminClick()
{
    Form2->show();
}

void TForm1::B_szunetClick()
{
    DM->SzunetSor = !DM->SzunetSor;
}

void TForm1::setTimeRows(int scaleMode)
{
    ScaleMode = scaleMode;
    DM->applyTimeRowPreset(scaleMode, *VL);
}

void TForm1::B_beosztsajatClick()
{
    setTimeRows(4);
    Nap7Click(this);
}

void TForm1::B_beosztorasClick()
{
    if (ScaleMode == 1) {
        B_beosztorassajatClick();
        return;
    }
    setTimeRows(1);
    Nap7Click(this);
}

void TForm1::B_beosztorassajatClick()
{
    B_beosztsajatClick();
}

void TForm1::B_beosztfelorasClick()
{
    if (ScaleMode == 2) {
        B_beosztfeloras15Click();
        return;
    }
    setTimeRows(2);
    Nap7Click(this);
}

void TForm1::B_beosztfeloras15Click()
{
    setTimeRows(3);
    Nap7Click(this);
}

void TForm1::Nap7Click(QObject *sender)
{
    if (NapBusy > 0)
        return;
    ++NapBusy;
    TveltoCalendarDays days = VL->Days();
    // Menu items tick themselves when chosen, as do the check boxes when clicked.
    int day = -1;
    bool ticked = false;
    if (auto *item = qobject_cast<QAction *>(sender)) {
        day = dayOfName(item, QLatin1String("Nap"));
        ticked = item->isChecked();
    } else if (auto *box = qobject_cast<QCheckBox *>(sender)) {
        day = dayOfName(box, QLatin1String("CBNap"));
        ticked = box->isChecked();
    }
    if (day >= 0) {
        if (ticked)
            days.include(TveltoCalendarDay(day));
        else
            days.exclude(TveltoCalendarDay(day));
        // The calendar keeps its days when the last one would go; the ticks below follow it.
        try {
            VL->SetDays(days);
        } catch (const Exception &) {
        }
    }
    fitCalendarCells();
    syncDayTicks();
    --NapBusy;
}

void TForm1::syncDayTicks()
{
    for (int day = 0; day < 7; ++day) {
        const bool shown = VL->Days().contains(TveltoCalendarDay(day));
        CBNap[day]->setChecked(shown);
        Nap[day]->setChecked(shown);
    }
}

void TForm1::fitCalendarCells()
{
    FitCalendarCells(*VL);
}

void TForm1::Panel1Resize()
{
    fitCalendarCells();
}

void TForm1::Csakrarend1Click()
{
    // Hidden with the focus, the panel would pass it on to the first calendar box, whose course
    // would become the current one.
    if (QWidget *focused = focusWidget(); focused && Panel2->isAncestorOf(focused))
        VL->setFocus(Qt::OtherFocusReason);
    Panel2->hide();
    // Laid out at once, so that the fitting and a print right after see the calendar's new size.
    centralWidget()->layout()->activate();
    fitCalendarCells();
}

void TForm1::Minden1Click()
{
    Panel2->show();
    centralWidget()->layout()->activate();
    fitCalendarCells();
}

void TForm1::setCalendarColours(TColor color, TColor fixedColor, TColor selColor)
{
    VL->SetColor(color);
    VL->SetFixedColor(fixedColor);
    VL->SetSelColor(selColor);
}

void TForm1::Norml1Click()
{
    setCalendarColours(cl3DLight, NormalFixedColor, clGreen);
}

void TForm1::Fehr1Click()
{
    setCalendarColours(clWhite, clWhite, clGreen);
}

void TForm1::Fehrnyomtatshoz1Click()
{
    setCalendarColours(clWhite, clWhite, clWhite);
}

void TForm1::PrintForm(const QString &title)
{
    Printer.setPageOrientation(QPageLayout::Landscape);
    Printer.setDocName(title);
    // The printer is asked for only where the system names none to print on.
    if (!HasDefaultPrinter()) {
        QPrintDialog dialog(&Printer, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    PrintFormTo(Printer, title);
}

void TForm1::PrintFormTo(QPrinter &printer, const QString &title)
{
    const QPixmap image = grab();
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Exception("A nyomtató nem indítható: " + printer.printerName().toStdString());
    QFont font(QStringLiteral("Times New Roman"), 6);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect page = painter.viewport();
    // The title sits in the top margin, above the image.
    painter.drawText(QRect(PrintMargin, 0, page.width() - 2 * PrintMargin, PrintMargin), Qt::AlignLeft | Qt::AlignTop,
                     title);
    // Stretched over the page inside the margin: the planners want the page full, not the
    // window's proportions.
    painter.drawPixmap(page.adjusted(PrintMargin, PrintMargin, -PrintMargin, -PrintMargin), image);
    painter.end();
}

void TForm1::Nyomtats1Click()
{
    PrintForm(windowTitle());
}

void TForm1::Button3Click()
{
    Csakrarend1Click();
    Fehrnyomtatshoz1Click();
    PrintForm(windowTitle());
    QMessageBox done(QMessageBox::Question, QApplication::applicationDisplayName(), QStringLiteral("Nyomtatás kész"),
                     QMessageBox::Ok, this);
    done.exec();
    Minden1Click();
    Norml1Click();
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    // Only a key nothing else took, pressed while the window itself has the focus.
    if (!focusWidget() || focusWidget() == this)
        FormKeyDown(WindowsVirtualKey(event->key(), event->modifiers()));
    QMainWindow::keyPressEvent(event);
}

void TForm1::FormKeyDown(int key)
{
    confirm(this, QStringLiteral("Billentyű: <%1>").arg(key));
}
