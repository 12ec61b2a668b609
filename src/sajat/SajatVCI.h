#pragma once

// TSajat: the calendar item of one weekly occasion of a course. It keeps the occasion's and the
// course's ids and the texts the box and its hint are made of; the hint also words the
// confirmations of moves and resizes through StartText and EndTimeText.

#include "calendar/CalendarItem.h"

#include <QString>

class TSajat : public TCustomCalendarItem {
public:
    explicit TSajat(TCalendarItems &collection);

    // Written by whoever builds the item; -1 until then.
    int AlkalomID = -1;
    int KurzusID = -1;

    const QString &Kod() const { return kod_; }
    const QString &Nev() const { return nev_; }
    const QString &Oktatok() const { return oktatok_; }
    const QString &Kiiras() const { return kiiras_; }
    const QString &GyakorisagJel() const { return gyakorisagJel_; }
    const QString &Hetek() const { return hetek_; }

    // Each setter recomposes Subject and Comment, so the item reads right after every change.
    void SetKod(const QString &value);
    void SetNev(const QString &value);
    void SetOktatok(const QString &value);
    void SetKiiras(const QString &value);
    void SetHetek(const QString &value);
    // Only the marker of the frequency code is kept; a custom one lists the weeks of Hetek, so
    // set Hetek first.
    void SetGyakorisag(int code);

    // Everything the texts are made of, set at once: Subject and Comment are composed once
    // instead of once per setter.
    struct Texts {
        QString Kod;
        QString Nev;
        QString Oktatok;
        QString Kiiras;
        QString Hetek;
        int Gyakorisag = 0;
    };
    void SetTexts(Texts texts);

    void UpdateTexts();
    // The weeks of Hetek as runs ("1,3-5"), "?" when no week is set.
    QString HetekToText() const;

    TDateTime EndTime() const;
    // Only the time of day of `end` counts: the item keeps its day.
    void SetEndTime(TDateTime end);
    // Weekday name and start time ("Kedd 10:00").
    QString StartText() const;
    QString EndTimeText() const;

private:
    void setGyakorisagJel(int code);

    QString kod_;
    QString nev_;
    QString oktatok_;
    QString kiiras_;
    QString gyakorisagJel_;
    QString hetek_;
};

// The minute of the day of a moment, counted from its time of day rounded to the millisecond so
// that 07:45 stored as a fraction of a day is never read as 07:44.
int MinuteOfDay(TDateTime moment);
