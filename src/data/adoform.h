#pragma once

// The database copy window: emptying the database tables, copying every memory table into them,
// and browsing one of them.

#include "platform/DB.h"

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TDBGrid;
class TDMK;

class TForm2 : public QWidget {
public:
    // The program's window works on the program's DMK; the program's main window owns it.
    explicit TForm2(QWidget *parent = nullptr);
    TForm2(TDMK &dmk, QWidget *parent);

    // Shows the connection settings and opens the connection; a failure is told in a box.
    void FormShow();
    // Empties every database table.
    void B1Click();
    // Copies every memory table into the database, telling each table's end in a box.
    void B2Click();
    // Shows the chosen database table in the grid.
    void RG_tablaClick();

    // The chosen item of RG_tabla, -1 when none.
    int RG_tablaItemIndex() const;
    void SetRG_tablaItemIndex(int index);

    TDataSource DS;
    TDBGrid *DBGrid1;
    QPushButton *B1;
    QPushButton *B2;
    QGroupBox *RG_tabla;
    QLineEdit *Edit1;
    QPlainTextEdit *Memo1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showMessage(const QString &text, const QString &details = {});

    TDMK &dmk_;
    QButtonGroup *tableButtons_;
};

extern TForm2 *Form2;
