#pragma once

// Data-aware controls bound to one field of a data source: the edit TDBEdit and the label
// TDBText, with the field data link they share, and the helpers every data control uses to
// move between field texts (cp1250) and Qt, and to drive a scroll bar from a dataset's position.

#include "platform/DB.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <string>

class QScrollBar;

// Field texts are cp1250; Qt wants Unicode.
QString fieldTextToQString(const std::string &text);
std::string qStringToFieldText(const QString &text);
// Shows a field's text in an edit. The text the edit shows already is left alone: setting it
// again would move the caret to the end and repaint for nothing.
void showFieldText(QLineEdit &edit, const QString &text);

// Sets a vertical scroll bar to the dataset's position: record numbers when the dataset is
// sequenced, else three places (first, middle, last). recordCount is the caller's cached count.
void showDataSetPosition(QScrollBar &bar, TDataSet *dataSet, int recordCount, int pageStep);
// Moves the dataset as an action on the bar asks (a QAbstractSlider::SliderAction), then puts
// the bar back on the dataset's position.
void scrollDataSet(QScrollBar &bar, TDataSet &dataSet, int action, int recordCount, int pageStep);

// A data link to one field of the data source's dataset. The control it serves learns of
// changes through the callbacks; the field is looked up again whenever the layout changes.
class TFieldDataLink : public TDataLink {
public:
    const std::string &FieldName() const { return fieldName_; }
    void SetFieldName(const std::string &name);
    // The field while the link is active and the dataset has it.
    TField *Field() const { return field_; }
    // Whether the field can take a value from the control now or after an Edit.
    bool CanModify() const;
    // Puts the dataset into edit mode when the field may be changed; false otherwise.
    bool Edit();

    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField *field) override;
    void UpdateData() override;

private:
    void updateField();

    std::string fieldName_;
    TField *field_ = nullptr;
};

// An edit that shows one field of the current record. It shows the display text, and the edit
// text while it has the focus and may change the field; typing puts the dataset into edit mode,
// and the text is written into the field when the edit is left or Enter is pressed (a refused
// value raises the field's exception and the text stays for correcting). Escape takes the
// field's value back.
class TDBEdit : public QLineEdit {
public:
    using TNotifyEvent = std::function<void(TDBEdit &sender)>;

    explicit TDBEdit(QWidget *parent = nullptr);

    TDataSource *DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource *source) { link_.SetDataSource(source); }
    const std::string &DataField() const { return link_.FieldName(); }
    void SetDataField(const std::string &name) { link_.SetFieldName(name); }
    TField *Field() const { return link_.Field(); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    QMenu *PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu *menu) { popupMenu_ = menu; }
    // Writes a pending text into the field.
    void UpdateRecord();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool editable() const;
    // The field's text for the edit as it is now, read-only state and length limit set for it.
    QString fieldText();
    // On a change of the data: leaves a text already shown, with its caret, alone.
    void loadText();
    // On entering, leaving and undoing: the text set afresh, caret at its end.
    void reloadText();
    void textTyped();
    void writeField();

    TFieldDataLink link_;
    bool readOnly_ = false;
    bool modified_ = false;
    QPointer<QMenu> popupMenu_;
};

// A label that shows one field's display text of the current record.
class TDBText : public QLabel {
public:
    explicit TDBText(QWidget *parent = nullptr);

    TDataSource *DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource *source) { link_.SetDataSource(source); }
    const std::string &DataField() const { return link_.FieldName(); }
    void SetDataField(const std::string &name) { link_.SetFieldName(name); }
    TField *Field() const { return link_.Field(); }

private:
    void loadText();

    TFieldDataLink link_;
};
