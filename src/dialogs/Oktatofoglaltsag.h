#pragma once

// The timetable of one teacher on a calendar.

#include <QDialog>

class TOktatofog : public QDialog {
public:
    explicit TOktatofog(QWidget *parent = nullptr);
};

extern TOktatofog *Oktatofog;
