#pragma once

// A number of at most three digits: a head count or a teacher's share. The caller sets the
// caption, Label1 and Edit1's text, runs the dialog and reads Edit1 back when it is accepted.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class Tletszam : public QDialog {
public:
    explicit Tletszam(QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *Button1;
    QPushButton *Button2;

    void FormActivate();
    // A text that is no number (blanks only, say) becomes "0", so the caller never reads junk.
    void Edit1Exit();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

extern Tletszam *letszam;
