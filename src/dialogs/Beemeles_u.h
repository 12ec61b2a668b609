#pragma once

// Picking the folder of older data to merge. The merge itself belongs to a file layout the
// program no longer reads, so "Összefésülés" does nothing.

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

class TEmelo : public QDialog {
public:
    explicit TEmelo(QWidget *parent = nullptr);

    QComboBox *DCB;
    QListWidget *DLB;
    QLineEdit *P;
    QProgressBar *PB;
    QPushButton *B_osszefesules;
    QPushButton *B_megse;

    // The folder DLB lists the subfolders of.
    QString Mappa() const { return mappa_; }
    void SetMappa(const QString &folder);

    void FormShow();
    void DCBChange();
    void DLBChange();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString mappa_;
};

extern TEmelo *Emelo;
