#pragma once

// How many lecture, practice and lab courses to create for a subject. The caller writes the
// three counts (1 or more offers that type) and the code and title, runs the dialog and reads
// the chosen counts back after "Ok".

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

class Ttantargyszervezes : public QDialog {
public:
    explicit Ttantargyszervezes(QWidget *parent = nullptr);

    int EloadasDarab = 0;
    int GyakorlatDarab = 0;
    int LaborDarab = 0;

    QLabel *Tkod;
    QLabel *Tcim;
    QSpinBox *SpinEdit1;
    QSpinBox *SpinEdit2;
    QSpinBox *SpinEdit3;
    QPushButton *Button1;
    QPushButton *Button2;

    void FormShow();
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
};

extern Ttantargyszervezes *tantargyszervezes;
