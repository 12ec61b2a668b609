#include "sajat/SajatVCI.h"

#include <QStringBuilder>

#include <array>
#include <cmath>
#include <utility>

namespace {

// Day number 2 is the Monday of the first week.
constexpr int FirstDay = 2;
constexpr int LastNamedDay = 43;
const std::array<QString, 7> WeekdayNames{QStringLiteral("Hétfő"),     QStringLiteral("Kedd"),
                                          QStringLiteral("Szerda"),    QStringLiteral("Csütörtök"),
                                          QStringLiteral("Péntek"),    QStringLiteral("Szombat"),
                                          QStringLiteral("Vasárnap")};

// "HH:MM"; built by hand, as formatting is most of what composing an item's texts costs.
QString clockText(TDateTime moment)
{
    const int minute = MinuteOfDay(moment);
    const auto digit = [](int value) { return QLatin1Char(char('0' + value % 10)); };
    const QChar text[] = {digit(minute / 600), digit(minute / 60), QLatin1Char(':'), digit(minute % 60 / 10),
                          digit(minute % 60)};
    return QString(text, 5);
}

QString weekRun(int first, int last)
{
    return first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last);
}

} // namespace

int MinuteOfDay(TDateTime moment)
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    DecodeTime(moment, hour, minute, second, msec);
    return hour * 60 + minute;
}

TSajat::TSajat(TCalendarItems &collection) : TCustomCalendarItem(collection) {}

void TSajat::SetKod(const QString &value)
{
    kod_ = value;
    UpdateTexts();
}

void TSajat::SetNev(const QString &value)
{
    nev_ = value;
    UpdateTexts();
}

void TSajat::SetOktatok(const QString &value)
{
    oktatok_ = value;
    UpdateTexts();
}

void TSajat::SetKiiras(const QString &value)
{
    kiiras_ = value;
    UpdateTexts();
}

void TSajat::SetHetek(const QString &value)
{
    hetek_ = value;
    UpdateTexts();
}

void TSajat::SetGyakorisag(int code)
{
    setGyakorisagJel(code);
    UpdateTexts();
}

void TSajat::SetTexts(Texts texts)
{
    kod_ = std::move(texts.Kod);
    nev_ = std::move(texts.Nev);
    oktatok_ = std::move(texts.Oktatok);
    kiiras_ = std::move(texts.Kiiras);
    hetek_ = std::move(texts.Hetek);
    setGyakorisagJel(texts.Gyakorisag);
    UpdateTexts();
}

void TSajat::setGyakorisagJel(int code)
{
    switch (code) {
    case 0:
        gyakorisagJel_.clear();
        break;
    case 1:
        gyakorisagJel_ = QStringLiteral("+");
        break;
    case 2:
        gyakorisagJel_ = QStringLiteral("#");
        break;
    default:
        gyakorisagJel_ = QLatin1Char('(') + HetekToText() + QLatin1Char(')');
    }
}

void TSajat::UpdateTexts()
{
    // Built with % so that each text is allocated once: every item of a rebuild composes both.
    const QString marker = gyakorisagJel_.isEmpty() ? QString() : QStringLiteral("; ") % gyakorisagJel_;
    SetSubject(kod_ % QStringLiteral("; ") % nev_ % QStringLiteral("; ") % kiiras_ % marker % QStringLiteral("; ") %
               oktatok_);
    // Every line is written even when its text is empty, so each line of the hint keeps its meaning.
    SetComment(kod_ % QLatin1Char('\n') % nev_ % QStringLiteral("\n\n") % StartText() % QLatin1Char('-') %
               EndTimeText() % QLatin1Char('\n') % kiiras_ % QLatin1Char(' ') % gyakorisagJel_ % QLatin1Char('\n') %
               oktatok_);
}

QString TSajat::HetekToText() const
{
    QStringList runs;
    int runStart = 0;
    for (int week = 1; week <= hetek_.size(); ++week) {
        const bool taught = hetek_[week - 1] == QLatin1Char('1');
        if (taught && runStart == 0)
            runStart = week;
        if (!taught && runStart != 0) {
            runs << weekRun(runStart, week - 1);
            runStart = 0;
        }
    }
    if (runStart != 0)
        runs << weekRun(runStart, int(hetek_.size()));
    return runs.isEmpty() ? QStringLiteral("?") : runs.join(QLatin1Char(','));
}

TDateTime TSajat::EndTime() const
{
    return Start() + Length() / MinutesPerDay;
}

void TSajat::SetEndTime(TDateTime end)
{
    SetLength(MinuteOfDay(end) - MinuteOfDay(Start()));
}

QString TSajat::StartText() const
{
    const double day = std::trunc(double(Start()));
    const QString name = day >= FirstDay && day <= LastNamedDay ? WeekdayNames[std::size_t(int(day) - FirstDay) % 7]
                                                                : QStringLiteral("?");
    return name + QLatin1Char(' ') + clockText(Start());
}

QString TSajat::EndTimeText() const
{
    return clockText(EndTime());
}
