#pragma once

// A titled group of radio buttons with one chosen item, as the planning dialogs use for their
// filter choices. Choosing an item from code raises no click; a user's click does.

#include <QGroupBox>
#include <QStringList>

#include <functional>

class QAbstractButton;
class QButtonGroup;

class TRadioGroup : public QGroupBox {
public:
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr, int columns = 1);

    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const { return items_.size(); }
    QString ItemText(int index) const { return items_.value(index); }
    QAbstractButton *Button(int index) const;

    std::function<void(TRadioGroup &sender)> OnClick;

private:
    QStringList items_;
    QButtonGroup *buttons_;
};
