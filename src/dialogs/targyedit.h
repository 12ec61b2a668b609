#pragma once

// The subject editor: a code, a name, hours and credit of a new subject. It stores nothing; the
// search texts its edits build are kept for a table the data does not have.

#include <QDialog>

#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class TDBGrid;

class TTargyeditor : public QDialog {
public:
    explicit TTargyeditor(QWidget *parent = nullptr);

    // The subject edited and the student-system subject it starts from; -1 for none. A positive
    // second one shows the credit as "99".
    int TargyId = -1;
    int KastorelTargyId = -1;
    // The search text the last typed code or name built.
    std::string Szuro;

    QLineEdit *E_kod;
    QLineEdit *E_nev;
    QLineEdit *E_ea;
    QLineEdit *E_gy;
    QLineEdit *E_gy2;
    QLineEdit *E_gy3;
    QLineEdit *E_la;
    QLineEdit *E_la2;
    QLineEdit *E_la3;
    QLineEdit *E_kredit;
    QComboBox *CB_sablon;
    QComboBox *CB_tanszek;
    TDBGrid *DBGrid1;
    QPushButton *B_megse;
    QPushButton *B_mentes;
    QPushButton *B_mentesujkent;
    QPushButton *B_mentestargy;

    void FormShow();
    void E_kodChange();
    void E_nevChange();
    void B_megseClick();
    void B_mentesClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Set while the form fills its edits, so the fill builds no search.
    bool Kitoltes = false;
};

extern TTargyeditor *Targyeditor;
