#include "dialogs/hetek_edit.h"

#include "platform/Cp1250.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tedithetek *edithetek = nullptr;

const std::array<std::string, 5> Tedithetek::FixedMasks{
    "111111111111111", "101010101010101", "010101010101010", "001001001001001", "000100010001000",
};

Tedithetek::Tedithetek(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("edithetek"));
    setWindowTitle(QStringLiteral("edithetek"));

    Gyak = new QGroupBox(QStringLiteral("Gyakoriság"), this);
    gyakButtons_ = new QButtonGroup(this);
    auto *gyakLayout = new QVBoxLayout(Gyak);
    const QString items[] = {QStringLiteral("Minden héten"),    QStringLiteral("Páratlan héten"),
                             QStringLiteral("Páros héten"),     QStringLiteral("Minden 3. héten"),
                             QStringLiteral("Minden 4. héten"), QStringLiteral("Egyedi")};
    for (int i = 0; i < int(std::size(items)); ++i) {
        auto *button = new QRadioButton(items[i], Gyak);
        gyakButtons_->addButton(button, i);
        gyakLayout->addWidget(button);
    }

    Panel1 = new QWidget(this);
    auto *weeks = new QGridLayout(Panel1);
    QFont weekFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    weekFont.setBold(true);
    for (int week = 1; week <= WeekCount; ++week) {
        QCheckBox *box = new QCheckBox(QStringLiteral("%1. hét").arg(week, 2), Panel1);
        box->setObjectName(QStringLiteral("CB%1").arg(week));
        box->setFont(weekFont);
        box->setChecked(true);
        weeks->addWidget(box, (week - 1) % 5, (week - 1) / 5);
        CB[std::size_t(week - 1)] = box;
    }

    HetekEdit = new QLineEdit(QStringLiteral("111101111011110"), this);
    HetekEdit->setObjectName(QStringLiteral("Hetek"));
    Button1 = new QPushButton(QStringLiteral("Ment"), this);
    Button2 = new QPushButton(QStringLiteral("Mégsem"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(Gyak);
    top->addWidget(Panel1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(HetekEdit);
    layout->addLayout(buttons);

    // A choice made from code runs the same handling as a click; the boxes and the guard rely on it.
    connect(gyakButtons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            GyakClick();
    });
    for (QCheckBox *box : CB)
        connect(box, &QCheckBox::toggled, this, [this] { CBClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] {
        Button1Click();
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

int Tedithetek::GyakIndex() const
{
    return gyakButtons_->checkedId();
}

void Tedithetek::SetGyakIndex(int index)
{
    if (QAbstractButton *button = gyakButtons_->button(index))
        button->setChecked(true);
}

void Tedithetek::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void Tedithetek::FormActivate()
{
    SetGyakIndex(CustomIndex);
    if (Hetek.size() != WeekCount) {
        if (Gyakorisag >= 0 && Gyakorisag < int(FixedMasks.size()))
            SetGyakIndex(Gyakorisag);
    } else {
        for (std::size_t code = 0; code < FixedMasks.size(); ++code)
            if (FixedMasks[code] == Hetek)
                SetGyakIndex(int(code));
    }
    HetekBeallitas(Hetek, Gyakorisag, true, 0);
    // Boxes that already showed the mask raise no click; the edit must still show the mask
    // rather than text left from an earlier, cancelled opening.
    if (Hetek.size() == WeekCount)
        HetekKiolvasas();
    GyakClick();
    GyakorisagValtas = false;
}

void Tedithetek::GyakClick()
{
    GyakorisagValtas = true;
    const int index = GyakIndex();
    if (index >= 0 && index < int(FixedMasks.size())) {
        HetekBeallitas(FixedMasks[std::size_t(index)], index, true, 0);
        HetekEdit->setText(QString::fromStdString(FixedMasks[std::size_t(index)]));
    }
    GyakorisagValtas = false;
}

void Tedithetek::CBClick()
{
    HetekKiolvasas();
    HetekBeallitas(utf8ToCp1250(HetekEdit->text().toStdString()), -1, true, 0);
    if (!GyakorisagValtas)
        SetGyakIndex(CustomIndex);
}

void Tedithetek::Button1Click()
{
    const int index = GyakIndex();
    Gyakorisag = index >= 0 && index < int(FixedMasks.size()) ? index : CustomFrequency;
    Hetek = utf8ToCp1250(HetekEdit->text().toStdString());
}

void Tedithetek::HetekBeallitas(const std::string &mask, int code, bool value, int week)
{
    const std::string *weeks = nullptr;
    if (mask.size() == WeekCount)
        weeks = &mask;
    else if (code >= 0 && code < int(FixedMasks.size()))
        weeks = &FixedMasks[std::size_t(code)];
    if (weeks != nullptr) {
        for (std::size_t i = 0; i < WeekCount; ++i)
            CB[i]->setChecked((*weeks)[i] == '1');
    } else if (week >= 1 && week <= WeekCount) {
        CB[std::size_t(week - 1)]->setChecked(value);
    }
}

void Tedithetek::HetekKiolvasas()
{
    QString mask;
    for (const QCheckBox *box : CB)
        mask += box->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    HetekEdit->setText(mask);
}
