#pragma once

// The occasions of a group of courses together on one calendar: the courses of the current
// course's subject, those sharing a subject with it, or those held in the current room. The
// caller positions the data module's course or room table and sets FoglalasMod first.

#include "data/datam.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;
class TveltoCalendar;

class Tcsoportfoglalasok : public QDialog {
public:
    enum Mod : unsigned char {
        TantargyFoglalasai = 0,
        TeremFoglalasai = 1,
        KapcsolodoTargyakFoglalasai = 2,
    };

    explicit Tcsoportfoglalasok(QWidget *parent = nullptr);

    // Which group the next showing lists; see Mod.
    unsigned char FoglalasMod = TantargyFoglalasai;

    TveltoCalendar *VL;
    QTreeWidget *LV;
    QPushButton *Kilep;
    QPushButton *Button1;

    // The group's course ids in the order they were found.
    TztrMemTable MT_kurzus_temp;
    // The occasions of the data module's current course, with the room text.
    TztrMemTable MT_alkalom_temp;
    TztrMemTable MT_kurzusoktato_temp2;
    TztrMemTable MT_kurzustargy_temp;
    TztrMemTable MT_kurzustargy_temp2;

    void FormCreate();
    void FormShow();
    // One calendar item for the current occasion of MT_alkalom_temp, of the course being listed.
    void KurzusAlkalmai();
    void MT_alkalom_tempkiirasGetText(TField &sender, std::string &text, bool displayText);
    void LVColumnClick(int column);
    void KilepClick();
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setUpTables();
    void setUpCalendar();
    void addCourseId(int kurzusId);
    void collectSubjectCourses();
    void collectRelatedCourses();
    void collectRoomCourses(int teremId);
    void listCourses(int teremId);
    void openViews();

    int sortColumn_ = 0;
    // The occasions found through their rooms' index, and the listed course, which drives
    // MT_alkalom_temp while the list is built: moving the data module's course table instead
    // would refresh every window bound to it at each course.
    TztrMemTable roomOccasions_;
    TztrMemTable listedCourse_;
    TDataSource listedCourseSource_{&listedCourse_};
};

extern Tcsoportfoglalasok *csoportfoglalasok;
