#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace {

// Sets locale variables for one test and puts the old values back.
class LocaleEnvironment {
public:
    ~LocaleEnvironment()
    {
        for (const auto &[name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        ReloadFormatSettings();
    }

    void set(const std::string &name, const char *value)
    {
        if (!saved_.count(name)) {
            const char *old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            setenv(name.c_str(), value, 1);
        else
            unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

} // namespace

TEST(FormatSettingsLocale, TheCLocaleGivesTheInvariantEnglishSet)
{
    const TFormatSettings settings = TFormatSettings::FromLocale("C.UTF-8");
    EXPECT_EQ(settings.DecimalSeparator, '.');
    EXPECT_EQ(settings.DateSeparator, '/');
    EXPECT_EQ(settings.ShortDateFormat, "mm/dd/yyyy");
    EXPECT_EQ(settings.LongMonthNames[0], "January");
    EXPECT_EQ(TFormatSettings::FromLocale("POSIX").TimeSeparator, ':');
}

TEST(FormatSettingsLocale, HungarianAndSpanishConventionsComeFromTheLocaleLibrary)
{
    const TFormatSettings settings = TFormatSettings::FromLocale("hu_HU.UTF-8");
    EXPECT_EQ(settings.DecimalSeparator, ',');
    EXPECT_EQ(settings.DateSeparator, '.');
    EXPECT_EQ(settings.ShortDateFormat.substr(0, 4), "yyyy");
    EXPECT_EQ(settings.LongMonthNames[0], "janu\xE1r");
    EXPECT_EQ(settings.LongDayNames[1], "h\xE9tf\xF5");
    EXPECT_EQ(settings.CurrencyString, "Ft");
    // Quoted words of a locale's pattern stay quoted.
    const TFormatSettings spanish = TFormatSettings::FromLocale("es_ES");
    EXPECT_EQ(FormatDateTime(spanish.LongDateFormat, EncodeDate(2025, 9, 8), spanish), "8 de septiembre de 2025");
    EXPECT_EQ(DateToStr(EncodeDate(2025, 9, 8), settings).substr(0, 4), "2025");
    // Whatever the locale's own patterns, its texts read back.
    const TDateTime moment = EncodeDate(2025, 9, 8) + EncodeTime(7, 45, 0, 0);
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(moment, settings), settings), moment);
}

TEST(FormatSettingsLocale, EnglishUsesMonthFirstDates)
{
    const TFormatSettings settings = TFormatSettings::FromLocale("en_US");
    EXPECT_EQ(settings.ShortDateFormat.front(), 'm');
    EXPECT_EQ(settings.DecimalSeparator, '.');
    EXPECT_EQ(settings.ThousandSeparator, ',');
    EXPECT_EQ(CurrToStrF(Currency(5), 2, settings), "$5.00") << "the dollar sign stands close before the amount";
    EXPECT_DOUBLE_EQ(StrToDate(DateToStr(EncodeDate(2025, 12, 24), settings), settings), EncodeDate(2025, 12, 24));
    // The twelve-hour clock reads back, whatever blank the locale puts before its marker.
    EXPECT_EQ(settings.LongTimeFormat.find('?'), std::string::npos);
    const TDateTime evening = EncodeDate(2025, 12, 24) + EncodeTime(19, 30, 0, 0);
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(evening, settings), settings), evening);
}

TEST(FormatSettingsLocale, TheUserDefaultFollowsTheEnvironmentByCategory)
{
    LocaleEnvironment environment;
    environment.set("LC_ALL", nullptr);
    environment.set("LANG", "C.UTF-8");
    environment.set("LC_NUMERIC", "hu_HU.UTF-8");
    environment.set("LC_TIME", "en_US.UTF-8");
    ReloadFormatSettings();
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FormatSettings().ShortDateFormat.front(), 'm');
    environment.set("LC_ALL", "C");
    ReloadFormatSettings();
    EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
    EXPECT_EQ(FormatSettings().ShortDateFormat, "mm/dd/yyyy");
}
