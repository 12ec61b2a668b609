#pragma once

// Counts of up to six timetable elements, each a code and a type: the caller adds the rows with
// SetInput, runs the dialog and reads the three arrays after "Ok".

#include <QDialog>

#include <array>
#include <string>

class QLabel;
class QPushButton;
class QSpinBox;

class Ttargyszervezo2 : public QDialog {
public:
    static constexpr int RowCount = 6;

    explicit Ttargyszervezo2(QWidget *parent = nullptr);

    QLabel *Tkod;
    QLabel *Tcim;
    std::array<QLabel *, RowCount> Lkod{};
    std::array<QLabel *, RowCount> Lt{};
    std::array<QSpinBox *, RowCount> SE{};
    QPushButton *Button1;
    QPushButton *Button2;

    // Rows in use, 0 to 6.
    int Darab = 0;
    std::array<std::string, RowCount> Kodok;
    std::array<std::string, RowCount> Tipusok;
    std::array<int, RowCount> Szamok{};

    void SetupInput();
    void SetInput(const std::string &kod, const std::string &tipus);
    void FormShow();
    void Button2Click();

protected:
    void showEvent(QShowEvent *event) override;
};

extern Ttargyszervezo2 *targyszervezo2;
