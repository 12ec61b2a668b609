#include "platform/widgets/DBCtrls.h"

#include "platform/Cp1250.h"
#include "platform/widgets/FieldTextInput.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <exception>

QString fieldTextToQString(const std::string &text)
{
    return QString::fromStdU16String(cp1250ToUtf16(text));
}

std::string qStringToFieldText(const QString &text)
{
    return utf16ToCp1250(text.toStdU16String());
}

void showFieldText(QLineEdit &edit, const QString &text)
{
    if (edit.text() != text)
        edit.setText(text);
}

void showDataSetPosition(QScrollBar &bar, TDataSet *dataSet, int recordCount, int pageStep)
{
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty()) {
        bar.setRange(0, 0);
        return;
    }
    if (dataSet->IsSequenced()) {
        bar.setRange(0, std::max(recordCount - 1, 0));
        bar.setPageStep(std::max(pageStep, 1));
        // A record being inserted has no number yet; the bar stays where it was.
        if (dataSet->RecNo() > 0)
            bar.setValue(dataSet->RecNo() - 1);
        return;
    }
    // Without record numbers only the ends are known.
    bar.setRange(0, 2);
    bar.setPageStep(1);
    bar.setValue(dataSet->Bof() ? 0 : (dataSet->Eof() ? 2 : 1));
}

void scrollDataSet(QScrollBar &bar, TDataSet &dataSet, int action, int recordCount, int pageStep)
{
    if (!dataSet.Active())
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        dataSet.Next();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        dataSet.Prior();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        dataSet.MoveBy(pageStep);
        break;
    case QAbstractSlider::SliderPageStepSub:
        dataSet.MoveBy(-pageStep);
        break;
    case QAbstractSlider::SliderToMinimum:
        dataSet.First();
        break;
    case QAbstractSlider::SliderToMaximum:
        dataSet.Last();
        break;
    case QAbstractSlider::SliderMove:
        if (dataSet.IsSequenced())
            dataSet.SetRecNo(bar.sliderPosition() + 1);
        else if (bar.sliderPosition() <= bar.minimum())
            dataSet.First();
        else if (bar.sliderPosition() >= bar.maximum())
            dataSet.Last();
        break;
    default:
        break;
    }
    showDataSetPosition(bar, &dataSet, recordCount, pageStep);
    // The slider would otherwise finish the action at the place it computed itself.
    bar.setSliderPosition(bar.value());
}

// --- TFieldDataLink --------------------------------------------------------------------------

void TFieldDataLink::SetFieldName(const std::string &name)
{
    if (fieldName_ == name)
        return;
    fieldName_ = name;
    updateField();
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && field_ && field_->CanModify();
}

bool TFieldDataLink::Edit()
{
    if (CanModify())
        TDataLink::Edit();
    return Editing();
}

void TFieldDataLink::ActiveChanged()
{
    updateField();
}

void TFieldDataLink::EditingChanged()
{
    if (OnEditingChange)
        OnEditingChange();
}

void TFieldDataLink::LayoutChanged()
{
    updateField();
}

void TFieldDataLink::RecordChanged(TField *field)
{
    if ((!field || field == field_) && OnDataChange)
        OnDataChange();
}

void TFieldDataLink::UpdateData()
{
    if (OnUpdateData)
        OnUpdateData();
}

void TFieldDataLink::updateField()
{
    field_ = Active() && !fieldName_.empty() ? DataSet()->FindField(fieldName_) : nullptr;
    if (OnDataChange)
        OnDataChange();
}

// --- TDBEdit ---------------------------------------------------------------------------------

TDBEdit::TDBEdit(QWidget *parent) : QLineEdit(parent)
{
    link_.OnDataChange = [this] { loadText(); };
    link_.OnEditingChange = [this] { QLineEdit::setReadOnly(!editable()); };
    link_.OnUpdateData = [this] { writeField(); };
    connect(this, &QLineEdit::textEdited, this, [this] { textTyped(); });
    limitEditToField(*this, nullptr);
    loadText();
}

void TDBEdit::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    link_.SetReadOnly(readOnly);
    reloadText();
}

bool TDBEdit::editable() const
{
    return !readOnly_ && link_.CanModify();
}

QString TDBEdit::fieldText()
{
    modified_ = false;
    QLineEdit::setReadOnly(!editable());
    TField *field = link_.Field();
    if (!field)
        return {};
    // The edit text (unformatted) only where the user may change it, and only then limited to
    // what the field holds: a display text may be longer.
    const bool editing = hasFocus() && editable();
    limitEditToField(*this, editing ? field : nullptr);
    return fieldTextToQString(editing ? field->Text() : field->DisplayText());
}

void TDBEdit::loadText()
{
    showFieldText(*this, fieldText());
}

void TDBEdit::reloadText()
{
    setText(fieldText());
}

void TDBEdit::textTyped()
{
    const QString typed = text();
    const int cursor = cursorPosition();
    // Entering edit mode reloads the field's value; the typing is put back over it.
    if (!link_.Edit()) {
        reloadText();
        return;
    }
    if (text() != typed) {
        setText(typed);
        setCursorPosition(cursor);
    }
    modified_ = true;
}

void TDBEdit::writeField()
{
    if (!modified_ || !link_.Field())
        return;
    link_.Field()->SetText(storableFieldText(text(), link_.Field()));
    modified_ = false;
}

void TDBEdit::UpdateRecord()
{
    if (modified_)
        link_.UpdateRecord();
}

void TDBEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (!modified_)
        reloadText();
}

void TDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    try {
        UpdateRecord();
    } catch (...) {
        // An exception cannot travel out of a focus change: it is raised again from the event
        // loop, where the application reports it, and the edit takes the focus back for a fix.
        QMetaObject::invokeMethod(
            this,
            [this, error = std::current_exception()] {
                setFocus();
                std::rethrow_exception(error);
            },
            Qt::QueuedConnection);
        return;
    }
    if (!modified_)
        reloadText();
}

bool TDBEdit::event(QEvent *event)
{
    // Handled here rather than in keyPressEvent, so that a refused value raises straight out of
    // the control and not through Qt's key handling.
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Escape:
            reloadText();
            selectAll();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            UpdateRecord();
            selectAll();
            return true;
        default:
            break;
        }
    }
    return QLineEdit::event(event);
}

void TDBEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (OnClick)
        OnClick(*this);
}

void TDBEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    if (OnDblClick)
        OnDblClick(*this);
}

void TDBEdit::contextMenuEvent(QContextMenuEvent *event)
{
    if (!popupMenu_) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    event->accept();
    popupMenu_->popup(event->globalPos());
}

// --- TDBText ---------------------------------------------------------------------------------

TDBText::TDBText(QWidget *parent) : QLabel(parent)
{
    link_.OnDataChange = [this] { loadText(); };
}

void TDBText::loadText()
{
    TField *field = link_.Field();
    setText(field ? fieldTextToQString(field->DisplayText()) : QString());
}
