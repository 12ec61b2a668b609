#pragma once

// The week-mask editor: the teaching weeks of an occasion or a timetable, as one of the five
// fixed frequencies or as weeks ticked one by one. The caller writes Hetek and Gyakorisag, runs
// the dialog and reads both back when it returns Accepted.

#include <QDialog>

#include <array>
#include <string>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

class Tedithetek : public QDialog {
public:
    static constexpr int WeekCount = 15;
    // Frequency code of a mask that is none of the fixed ones.
    static constexpr int CustomFrequency = 999;
    // The mask of frequency codes 0 to 4.
    static const std::array<std::string, 5> FixedMasks;

    explicit Tedithetek(QWidget *parent = nullptr);

    // In and out: frequency code 0 to 4, or CustomFrequency.
    int Gyakorisag = 0;
    // In and out: one "0"/"1" per week, weeks 1 to 15.
    std::string Hetek = "111111111111111";

    QGroupBox *Gyak;
    QWidget *Panel1;
    std::array<QCheckBox *, WeekCount> CB{};
    QLineEdit *HetekEdit;
    QPushButton *Button1;
    QPushButton *Button2;

    // The radio group's chosen item: 0 to 4 a fixed frequency, 5 "Egyedi".
    int GyakIndex() const;
    // As a click would: choosing another item runs GyakClick.
    void SetGyakIndex(int index);

    void FormActivate();
    void GyakClick();
    void CBClick();
    void Button1Click();

    // A 15-character mask goes to the boxes; else a code 0 to 4 its fixed mask; else a week
    // 1 to 15 gets `value`.
    void HetekBeallitas(const std::string &mask, int code, bool value, int week);
    // The edit gets the mask the boxes show.
    void HetekKiolvasas();

protected:
    void showEvent(QShowEvent *event) override;

private:
    static constexpr int CustomIndex = 5;

    QButtonGroup *gyakButtons_;
    // Set while a frequency is being applied, so the boxes it ticks do not turn it into "Egyedi".
    bool GyakorisagValtas = false;
};

extern Tedithetek *edithetek;
