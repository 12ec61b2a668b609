#include "dialogs/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent, int columns)
    : QGroupBox(caption, parent), items_(items), buttons_(new QButtonGroup(this))
{
    auto *layout = new QGridLayout(this);
    const int rows = (int(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        buttons_->addButton(button, i);
        layout->addWidget(button, i % rows, i / rows);
    }
    connect(buttons_, &QButtonGroup::idClicked, this, [this] {
        if (OnClick)
            OnClick(*this);
    });
}

int TRadioGroup::ItemIndex() const
{
    return buttons_->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton *button = buttons_->button(index))
        button->setChecked(true);
}

QAbstractButton *TRadioGroup::Button(int index) const
{
    return buttons_->button(index);
}
