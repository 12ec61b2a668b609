// Editing the occasions of the current course: moving and resizing their calendar items,
// adding and deleting occasions, their frequency, weeks and room, and the occasion panel.

#include "app/brelvix_pas.h"

#include "sajat/SajatVCI.h"
#include "app/brelvix_pasCommon.h"
#include "data/datam.h"
#include "dialogs/hetek_edit.h"
#include "dialogs/teremval.h"
#include "platform/widgets/DBCGrids.h"
#include "platform/widgets/DBCtrls.h"
#include "platform/widgets/KeepPlaceWhenHidden.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace mainwindow;

namespace {

constexpr int RoomsMode = 2;
constexpr int WeekCount = 15;
// The frequency a new occasion gets for a mask that is none of the fixed ones.
constexpr int UnlistedMask = 5;
const char *const LineBreak = "\r\n";

// The frequency code an entry of the frequency menu stands for: the digits of its name.
int frequencyCode(const QAction &entry)
{
    return entry.objectName().mid(3).toInt();
}

QString clockText(TDateTime moment)
{
    const int minute = MinuteOfDay(moment);
    return QStringLiteral("%1:%2").arg(minute / 60, 2, 10, QLatin1Char('0')).arg(minute % 60, 2, 10, QLatin1Char('0'));
}

// A box as wide as the longest text it shows, in the font in use.
void fitToText(QLineEdit &box, const QString &widest)
{
    box.setFixedWidth(boxWidthFor(box, widest));
}

} // namespace

QWidget *TForm1::buildOccasionPanel()
{
    DBCtrlGrid1 = new TDBCtrlGrid(this);
    DBCtrlGrid1->setObjectName(QStringLiteral("DBCtrlGrid1"));
    // The bar tells the planner there are more occasions than the one shown.
    DBCtrlGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DS_alkalom_temp.SetAutoEdit(false);
    // Bound, the panel is enabled while the course has occasions and its bar steps through them.
    DBCtrlGrid1->SetDataSource(&DS_alkalom_temp);
    QWidget *panel = DBCtrlGrid1->Panel();
    const auto edit = [this, panel](TDBEdit *&target, const char *name, const char *field, bool readOnly,
                                    const QString &widest) {
        target = new TDBEdit(panel);
        target->setObjectName(QString::fromLatin1(name));
        target->SetDataSource(&DS_alkalom_temp);
        target->SetDataField(field);
        target->SetReadOnly(readOnly);
        fitToText(*target, widest);
    };
    edit(DBEdit1, "DBEdit1", "nap", true, QStringLiteral("Csütörtök"));
    edit(DBEdit2, "DBEdit2", "kezd_ido", true, QStringLiteral("00:00"));
    edit(DBEdit3, "DBEdit3", "veg_ido", true, QStringLiteral("00:00"));
    edit(DBEdit4, "DBEdit4", "terem_id", false, QString());
    edit(DBEdit5, "DBEdit5", "gyaknev", true, QStringLiteral("Egyedi beosztás    "));
    edit(DBEdit6, "DBEdit6", "kiiras", true, QStringLiteral("Nincs meg a terem"));
    // The room text runs as long as the panel lets it.
    DBEdit6->setMaximumWidth(QWIDGETSIZE_MAX);
    DBEdit7 = new QLineEdit(panel);
    DBEdit7->setObjectName(QStringLiteral("DBEdit7"));
    DBEdit7->setReadOnly(true);
    fitToText(*DBEdit7, QStringLiteral("000/000"));
    occasionCountLink_.SetDataSource(&DS_alkalom_temp);
    occasionCountLink_.OnDataChange = [this] { showOccasionCount(); };
    DBEdit4->hide();
    // One row per line of the panel, each box at its own width after a caption column.
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    const QString captions[] = {QStringLiteral("Időpont:"), QStringLiteral("Gyakoriság:"), QStringLiteral("Terem:")};
    const std::vector<QWidget *> rows[] = {
        {DBEdit1, DBEdit2, new QLabel(QStringLiteral("-"), panel), DBEdit3}, {DBEdit5, DBEdit7}, {DBEdit6}};
    int captionWidth = 0;
    for (const QString &caption : captions)
        captionWidth = std::max(captionWidth, panel->fontMetrics().horizontalAdvance(caption));
    for (int row = 0; row < 3; ++row) {
        auto *line = new QHBoxLayout;
        auto *caption = new QLabel(captions[row], panel);
        caption->setFixedWidth(captionWidth);
        line->addWidget(caption);
        for (QWidget *box : rows[row])
            line->addWidget(box);
        if (row < 2)
            line->addStretch(1);
        layout->addLayout(line);
    }
    const QSize needed = panel->minimumSizeHint().expandedTo(QSize(322, 88));
    DBCtrlGrid1->SetPanelWidth(needed.width());
    DBCtrlGrid1->SetPanelHeight(needed.height());
    // The panel keeps the width its boxes need, however the window is sized.
    DBCtrlGrid1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Hidden while a view is rebuilt with the focus in it, it keeps its place, so the panels
    // beside it are not laid out and drawn again for the moment.
    keepPlaceWhenHidden(*DBCtrlGrid1);
    return DBCtrlGrid1;
}

void TForm1::setUpOccasionTexts()
{
    const auto bind = [this](TztrMemTable &table, const char *field,
                             void (TForm1::*handler)(TField &, std::string &, bool)) {
        table.FieldByName(field)->OnGetText = [this, handler](TField &sender, std::string &text, bool displayText) {
            (this->*handler)(sender, text, displayText);
        };
    };
    bind(MT_alkalom_temp, "kezd_ido", &TForm1::MT_alkalom_tempidoGetText);
    bind(MT_alkalom_temp, "veg_ido", &TForm1::MT_alkalom_tempidoGetText);
    for (TztrMemTable *table : {&MT_alkalom_temp, &MT_alkalom_teremtemp}) {
        bind(*table, "nap", &TForm1::MT_alkalom_tempnapGetText);
        bind(*table, "gyaknev", &TForm1::MT_alkalom_tempgyaknevGetText);
    }
    MT_alkalom_temp.AfterScroll = [this](TDataSet &) { MT_alkalom_tempAfterScroll(); };
}

bool TForm1::confirmTimeChange(const QString &question, TCustomCalendarItem *item, TDateTime newStart,
                               TDateTime newEnd)
{
    auto *occasion = dynamic_cast<TSajat *>(item);
    if (!occasion)
        return false;
    // The new position worded the way the item words its own.
    TCalendarItems scratch;
    auto *moved = scratch.Add<TSajat>();
    moved->SetStart(newStart);
    moved->SetEndTime(newEnd);
    const QString lineBreak = QString::fromLatin1(LineBreak);
    const QString text = question + lineBreak + lineBreak + lineBreak + QStringLiteral("Régi időpont:") +
                         occasion->StartText() + QLatin1Char('-') + occasion->EndTimeText() + lineBreak + lineBreak +
                         QStringLiteral("Új időpont:") + moved->StartText() + QLatin1Char('-') + moved->EndTimeText();
    return confirm(this, text);
}

TDataSet *TForm1::occasionRow(int alkalomId)
{
    // Finding the row is no move of the planner's, so the panel does not select on the way.
    const QScopedValueRollback quiet(ScrollGuard, true);
    if (MT_alkalom_temp.Locate("alkalom_id", alkalomId, {}))
        return &MT_alkalom_temp;
    DM->MT_alkalom.SetFiltered(false);
    return DM->MT_alkalom.Locate("alkalom_id", alkalomId, {}) ? &DM->MT_alkalom : nullptr;
}

// Writes a confirmed move or resize into the dragged box's own occasion, whichever occasion the
// panel shows: the planner confirmed this box's new time.
bool TForm1::writeNewTime(TSajat &item, TDateTime newStart, TDateTime newEnd)
{
    TDataSet *occasion = occasionRow(item.AlkalomID);
    if (!occasion)
        return false;
    occasion->Edit();
    occasion->FieldByName("kezd_ido")->SetAsDateTime(newStart);
    occasion->FieldByName("veg_ido")->SetAsDateTime(newEnd);
    occasion->Post();
    item.SetStart(newStart);
    item.SetEndTime(newEnd);
    item.UpdateTexts();
    return true;
}

void TForm1::VLMoving(TCustomCalendarItem *item, TDateTime newStart, TDateTime newEnd, bool &accept)
{
    accept = false;
    if (confirmTimeChange(QStringLiteral("Valóban le akarja cserélni?"), item, newStart, newEnd))
        accept = writeNewTime(*static_cast<TSajat *>(item), newStart, newEnd);
}

void TForm1::VLResizing(TCustomCalendarItem *item, TDateTime newStart, TDateTime newEnd, bool &accept)
{
    accept = false;
    if (confirmTimeChange(QStringLiteral("Valóban megakarja változtatni?"), item, newStart, newEnd))
        accept = writeNewTime(*static_cast<TSajat *>(item), newStart, newEnd);
}

void TForm1::alkalomtorlesClick()
{
    auto *selected = dynamic_cast<TSajat *>(VL->SelectedItem());
    if (!selected)
        return;
    const QString lineBreak = QString::fromLatin1(LineBreak);
    if (!confirm(this, QStringLiteral("Valóban megakarja szüntetni?") + lineBreak + lineBreak + lineBreak +
                           QStringLiteral("Időpont:") + selected->StartText() + QLatin1Char('-') +
                           selected->EndTimeText()))
        return;
    const int alkalomId = selected->AlkalomID;
    TCalendarItems &items = VL->Items();
    for (int i = 0; i < items.Count(); ++i) {
        if (items[i] == selected) {
            VL->SetSelectedItem(nullptr);
            if (LastSelectedItem == selected)
                LastSelectedItem = nullptr;
            items.Delete(i);
            break;
        }
    }
    // The row deleted is the item's occasion, not whichever the panel happens to stand on.
    if (TDataSet *occasion = occasionRow(alkalomId))
        occasion->Delete();
    MT_alkalom_temp.First();
}

void TForm1::AlkalomFelvetelClick(QAction *sender)
{
    if (sender != Felvetel)
        return;
    const int courseId = selectedCourseId();
    if (courseId < 0)
        return;
    // The panel must not select courses while the new row is half made; cleared at the end,
    // so that moving in the panel afterwards selects again without waiting for a rebuild.
    RefreshBusy = true;
    const auto done = qScopeGuard([this] { RefreshBusy = false; });
    const int day = VL->CurrentDay();
    const int startMinute = VL->SelStartMinute();
    const int endMinute = VL->SelEndMinute();

    int frequency = UnlistedMask;
    if (int(WeekMask.size()) != WeekCount) {
        WeekMask = Tedithetek::FixedMasks[0];
        frequency = 0;
    } else {
        for (std::size_t code = 0; code < Tedithetek::FixedMasks.size(); ++code) {
            if (WeekMask == Tedithetek::FixedMasks[code])
                frequency = int(code);
        }
    }
    const bool roomReservation =
        B_kurzusmentes->text().startsWith(QLatin1Char(' ')) && WorkMode == RoomsMode && SelectionId >= 0;

    // A course of a group shares the occasions of the course it is attached to, so the new one
    // belongs there too: the panel and the views show it with the group's other occasions.
    if (!MT_kurzus_temp.Locate("kurzus_id", courseId, {}))
        return;
    const int linked = intOf(MT_kurzus_temp, "kurzus_id_csatolt");
    const int occasionCourse = linked > 0 ? linked : courseId;
    // The new row stays within the panel's filter, so that it is the row read back after posting.
    refilter(MT_alkalom_temp, keyFilter("kurzus_id", occasionCourse));
    MT_alkalom_temp.Insert();
    MT_alkalom_temp.FieldByName("kurzus_id")->SetAsInteger(occasionCourse);
    MT_alkalom_temp.FieldByName("kezd_ido")->SetAsDateTime(day + startMinute / 1440.0);
    MT_alkalom_temp.FieldByName("veg_ido")->SetAsDateTime(day + endMinute / 1440.0);
    MT_alkalom_temp.FieldByName("gyakorisag")->SetAsInteger(frequency);
    MT_alkalom_temp.FieldByName("terem_id")->SetAsInteger(roomReservation ? SelectionId : 0);
    MT_alkalom_temp.FieldByName("hetek")->SetAsString(WeekMask);
    MT_alkalom_temp.Post();
    const int alkalomId = intOf(MT_alkalom_temp, "alkalom_id");

    // Left set, as after a rebuild, so that the panel's room box keeps its text.
    RoomTextOn = true;
    // Drawn under the course the planner added it to, as the view draws a group's occasions.
    AddCalendarItemForCourse(MT_alkalom_temp, &MT_kurzus_temp);
    SelectCourse(QStringLiteral("LV"), courseId, alkalomId);
    if (roomReservation)
        RefreshView();
}

void TForm1::Het0Click(QAction *sender)
{
    if (!hasRow(&MT_alkalom_temp))
        return;
    const int code = frequencyCode(*sender);
    int frequency = code;
    std::string mask;
    if (code >= 0 && code < int(Tedithetek::FixedMasks.size())) {
        mask = Tedithetek::FixedMasks[std::size_t(code)];
    } else {
        edithetek->Hetek = textOf(MT_alkalom_temp, "hetek");
        if (edithetek->exec() != QDialog::Accepted)
            return;
        frequency = edithetek->Gyakorisag;
        mask = edithetek->Hetek;
    }
    MT_alkalom_temp.Edit();
    MT_alkalom_temp.FieldByName("gyakorisag")->SetAsInteger(frequency);
    MT_alkalom_temp.FieldByName("hetek")->SetAsString(mask);
    MT_alkalom_temp.Post();
    // The box shows the new weeks at once, not only after the next rebuild; an occasion the view
    // does not draw has no box to rewrite.
    if (FindCalendarItem(intOf(MT_alkalom_temp, "alkalom_id"))) {
        RoomTextOn = true;
        UpdateOccasionInCalendar(MT_alkalom_temp);
    }
}

void TForm1::DBEdit5DblClick()
{
    if (!hasRow(&MT_alkalom_temp))
        return;
    const int courseId = intOf(MT_alkalom_temp, "kurzus_id");
    const int alkalomId = intOf(MT_alkalom_temp, "alkalom_id");
    edithetek->Hetek = textOf(MT_alkalom_temp, "hetek");
    edithetek->Gyakorisag = intOf(MT_alkalom_temp, "gyakorisag");
    if (edithetek->exec() != QDialog::Accepted)
        return;
    MT_alkalom_temp.Edit();
    MT_alkalom_temp.FieldByName("gyakorisag")->SetAsInteger(edithetek->Gyakorisag);
    MT_alkalom_temp.FieldByName("hetek")->SetAsString(edithetek->Hetek);
    MT_alkalom_temp.Post();
    RoomTextOn = true;
    UpdateOccasionInCalendar(MT_alkalom_temp);
    SelectCourse(QStringLiteral("C"), courseId, alkalomId);
}

void TForm1::DBEdit6DblClick()
{
    if (!hasRow(&MT_alkalom_temp))
        return;
    const int courseId = intOf(MT_alkalom_temp, "kurzus_id");
    const int alkalomId = intOf(MT_alkalom_temp, "alkalom_id");
    teremvalasztas->AlkalomId = alkalomId;
    teremvalasztas->Hetek = textOf(MT_alkalom_temp, "hetek");
    if (teremvalasztas->exec() != QDialog::Accepted)
        return;
    // The chooser wrote the room into the shared row; the panel's cursor may have moved.
    if (!MT_alkalom_temp.Locate("alkalom_id", alkalomId, {}))
        return;
    RoomTextOn = true;
    UpdateOccasionInCalendar(MT_alkalom_temp);
    SelectCourse(QStringLiteral("C"), courseId, alkalomId);
}

void TForm1::MT_alkalom_tempAfterScroll()
{
    if (ScrollGuard || RefreshBusy || SelectBusy || !MT_alkalom_temp.Active() || !MT_kurzus_temp.Active())
        return;
    if (hasRow(&MT_alkalom_temp))
        SelectCourse(QStringLiteral("C"), intOf(MT_alkalom_temp, "kurzus_id"), intOf(MT_alkalom_temp, "alkalom_id"));
    if (MT_alkalom_temp.Eof() && !MT_alkalom_temp.IsEmpty()) {
        ScrollGuard = true;
        MT_alkalom_temp.First();
        ScrollGuard = false;
    }
}

void TForm1::MT_alkalom_tempidoGetText(TField &sender, std::string &text, bool)
{
    text.clear();
    if (!MT_alkalom_temp.Active() || !MT_kurzus_temp.Active() || !hasRow(sender.DataSet()) || sender.IsNull())
        return;
    text = clockText(sender.AsDateTime()).toStdString();
}

void TForm1::MT_alkalom_tempnapGetText(TField &sender, std::string &text, bool)
{
    text.clear();
    if (!hasRow(sender.DataSet()))
        return;
    static const char *const names[] = {"Szombat", "Vasárnap", "Hétfő", "Kedd", "Szerda", "Csütörtök", "Péntek"};
    const int day = int(std::trunc(double(sender.DataSet()->FieldByName("kezd_ido")->AsDateTime())));
    text = day >= 1 && day <= 49 ? utf8ToCp1250(names[day % 7]) : "napGetText!(" + std::to_string(day) + ")";
}

void TForm1::MT_alkalom_tempgyaknevGetText(TField &sender, std::string &text, bool)
{
    static const char *const names[] = {"Minden héten", "Páratlan héten", "Páros héten", "Minden 3. héten",
                                        "Minden 4. héten"};
    constexpr std::size_t Width = 19;
    text.clear();
    if (hasRow(sender.DataSet())) {
        const int code = intOf(*sender.DataSet(), "gyakorisag");
        text = utf8ToCp1250(code >= 0 && code <= 4 ? names[code] : "Egyedi beosztás");
    }
    text.resize(std::max(text.size(), Width), ' ');
}

void TForm1::showOccasionCount()
{
    if (!hasRow(&MT_alkalom_temp)) {
        DBEdit7->clear();
        return;
    }
    // A filtered table numbers its rows within the whole store, so the position among the
    // course's occasions is counted on a cursor of its own with the same filter.
    occasionCounter_.SetFiltered(false);
    occasionCounter_.SetFilter(MT_alkalom_temp.Filter());
    occasionCounter_.SetFiltered(MT_alkalom_temp.Filtered());
    const int current = intOf(MT_alkalom_temp, "alkalom_id");
    int position = 1;
    for (occasionCounter_.First(); !occasionCounter_.Eof() && intOf(occasionCounter_, "alkalom_id") != current;
         occasionCounter_.Next())
        ++position;
    DBEdit7->setText(QStringLiteral("%1/%2").arg(MT_alkalom_temp.RecordCount()).arg(position));
}
