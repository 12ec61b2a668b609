#include "platform/LocaleCompare.h"

#include "platform/Cp1250.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr LCID hungarian = 0x040E;
constexpr LCID englishUS = 0x0409;

// Test texts are written in UTF-8 and compared as the engine holds them.
std::string cp(const char *utf8)
{
    return utf8ToCp1250(utf8);
}

std::vector<std::string> sortedUtf8(LCID locale, unsigned flags, std::vector<const char *> words)
{
    std::vector<std::string> texts;
    for (const char *word : words)
        texts.push_back(cp(word));
    std::sort(texts.begin(), texts.end(), [&](const std::string &a, const std::string &b) {
        return CompareStringA(locale, flags, a, b) == CSTR_LESS_THAN;
    });
    std::vector<std::string> result;
    for (const std::string &text : texts)
        result.push_back(cp1250ToUtf8(text));
    return result;
}

// Sets the locale variables for one test and puts the previous ones back.
class LocaleEnvironment
{
public:
    LocaleEnvironment()
    {
        for (const char *name : names) {
            const char *value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    ~LocaleEnvironment()
    {
        for (std::size_t i = 0; i < std::size(names); ++i) {
            if (saved_[i])
                setenv(names[i], saved_[i]->c_str(), 1);
            else
                unsetenv(names[i]);
        }
        ReloadUserLocale();
    }
    void set(const char *name, const char *value)
    {
        setenv(name, value, 1);
        ReloadUserLocale();
    }

private:
    static constexpr const char *names[] = {"LC_ALL", "LC_COLLATE", "LANG"};
    std::vector<std::optional<std::string>> saved_;
};

} // namespace

TEST(HungarianCollation, DigraphsAreLettersOfTheirOwn)
{
    EXPECT_EQ(sortedUtf8(hungarian, 0, {"dzsungel", "csiga", "cukor", "dzéta", "dob"}),
              (std::vector<std::string>{"cukor", "csiga", "dob", "dzéta", "dzsungel"}));
}

TEST(Collation, ComparesByTheLocalesOrderWithCaseAndAccentsAsAsked)
{
    const std::string many(1000, 'a');
    const struct { LCID locale; unsigned flags; std::string a, b; int result; } cases[] = {
        // Accents order after the plain letter; Ö is a letter after O in Hungarian, only an accent in English.
        {hungarian, 0, cp("ló"), cp("ló"), CSTR_EQUAL},
        {hungarian, 0, cp("ötös"), cp("ozon"), CSTR_GREATER_THAN},
        {englishUS, 0, cp("ötös"), cp("ozon"), CSTR_LESS_THAN},
        {hungarian, 0, cp("kerék"), cp("kerek"), CSTR_GREATER_THAN},
        {0x0809, 0, "colour", "color", CSTR_GREATER_THAN},
        {hungarian, NORM_IGNORECASE, cp("ÁRVÍZ"), cp("árvíz"), CSTR_EQUAL},
        {hungarian, 0, cp("ÁRVÍZ"), cp("árvíz"), CSTR_GREATER_THAN},
        {hungarian, NORM_IGNORECASE, cp("LO"), cp("ló"), CSTR_LESS_THAN},
        // A case-sensitive comparison after a case-insensitive one must not reuse its collator.
        {0x0407, NORM_IGNORECASE, "Haus", "haus", CSTR_EQUAL},
        {0x0407, 0, "Haus", "haus", CSTR_GREATER_THAN},
        {0x0407, NORM_IGNORECASE, "Haus", "haus", CSTR_EQUAL},
        // An unknown locale gives 0 and does not spoil known ones.
        {0x0999, 0, "a", "b", 0},
        {0x5040E, NORM_IGNORECASE, "a", "a", 0},
        {hungarian, 0, "cukor", "csiga", CSTR_LESS_THAN},
        {hungarian, 0, "", "", CSTR_EQUAL},
        {hungarian, 0, "", "a", CSTR_LESS_THAN},
        {hungarian, 0, "a", "", CSTR_GREATER_THAN},
        {hungarian, 0, many + "cukor", many + "csiga", CSTR_LESS_THAN},
        {hungarian, 0, many + cp("lő"), many + cp("lo"), CSTR_GREATER_THAN},
        {hungarian, 0, many + "x", many, CSTR_GREATER_THAN},
        {hungarian, 0, std::string(300, 'b'), "c", CSTR_LESS_THAN},
        {hungarian, 0, "c", std::string(300, 'b'), CSTR_GREATER_THAN},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CompareStringA(c.locale, c.flags, c.a, c.b), c.result) << c.a.substr(0, 8) << " / " << c.b.substr(0, 8);
    EXPECT_EQ(sortedUtf8(hungarian, 0, {"lő", "ló", "lo"}), (std::vector<std::string>{"lo", "ló", "lő"}));
    EXPECT_EQ(sortedUtf8(englishUS, 0, {"cukor", "Banana", "csiga", "apple"}),
              (std::vector<std::string>{"apple", "Banana", "csiga", "cukor"}));
    EXPECT_EQ(CompareStringW(hungarian, 0, u"cukor", u"csiga"), CSTR_LESS_THAN);
    EXPECT_EQ(CompareStringW(hungarian, 0, u"lő", u"ló"), CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringW(englishUS, 0, u"cukor", u"csiga"), CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringW(englishUS, NORM_IGNORECASE, u"Alma", u"aLMA"), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(hungarian, 0, u"", u""), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(0x0999, 0, u"a", u"b"), 0);
}

TEST(UserDefaultLocale, ComesFromTheCollateVariablesThenLangOrIsTheRootOrder)
{
    LocaleEnvironment environment;
    ReloadUserLocale();
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "cukor", "csiga"),
              CompareStringA(LOCALE_NEUTRAL, 0, "cukor", "csiga"));
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "apple", "Banana"), CSTR_LESS_THAN);
    environment.set("LANG", "hu_HU.UTF-8");
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "cukor", "csiga"), CSTR_LESS_THAN);
    EXPECT_EQ(CompareStringA(LOCALE_SYSTEM_DEFAULT, 0, "cukor", "csiga"), CSTR_LESS_THAN);
    environment.set("LANG", "en_US.UTF-8");
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "cukor", "csiga"), CSTR_GREATER_THAN);
    environment.set("LC_COLLATE", "hu_HU.UTF-8");
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "cukor", "csiga"), CSTR_LESS_THAN);
    environment.set("LC_ALL", "en_GB@euro");
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "cukor", "csiga"), CSTR_GREATER_THAN);
    environment.set("LC_ALL", "C");
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "cukor", "csiga"), CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "apple", "Banana"), CSTR_LESS_THAN);
    EXPECT_LT(CompareStr("B", "a"), 0);
    EXPECT_GT(CompareStr(cp("á"), "z"), 0);
    EXPECT_EQ(CompareStr("abc", "abc"), 0);
    EXPECT_LT(CompareStr("ab", "abc"), 0);
    EXPECT_EQ(CompareText("Kurzus_ID", "KURZUS_id"), 0);
    EXPECT_NE(CompareText(cp("á"), cp("Á")), 0);
    EXPECT_LT(CompareText("10", "9"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    // "_" lies between the upper- and lower-case letters; folded up, letters come first.
    EXPECT_LT(CompareText("a", "_"), 0);
    EXPECT_LT(WideCompareStr(u"B", u"a"), 0);
    EXPECT_GT(WideCompareStr(u"ő", u"z"), 0);
    EXPECT_EQ(WideCompareText(u"ÁRVÍZTŰRŐ", u"árvíztűrő"), 0);
    EXPECT_LT(WideCompareText(u"alma", u"ALMAFA"), 0);
    EXPECT_NE(WideCompareText(u"ó", u"o"), 0);
    EXPECT_EQ(cp1250ToUtf8(AnsiUpperCase(cp("árvíztűrő tükörfúrógép 42"))), "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP 42");
    EXPECT_EQ(cp1250ToUtf8(AnsiLowerCase(cp("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP 42"))), "árvíztűrő tükörfúrógép 42");
    // Upper-case ß and µ (Greek mu) do not exist in cp1250.
    EXPECT_EQ(cp1250ToUtf8(AnsiUpperCase(cp("ßµ"))), "ßµ");
    EXPECT_EQ(cp1250ToUtf8(UpperCase(cp("árvíz_1"))), "áRVíZ_1");
    EXPECT_EQ(cp1250ToUtf8(LowerCase(cp("ÁRVÍZ_1"))), "ÁrvÍz_1");
}

TEST(SortKeys, ByteOrderAgreesWithTheComparison)
{
    const std::vector<const char *> words = {"",  "a",   "A",    "ab",  "lo",  "ló",   "Ló",    "lő",  "cs",
                                             "Cs", "ccs", "csak", "cukor", "dz", "dzsem", "zebra", "Zsolt", "öt",
                                             "ő",  "szó", "sz",  "9",    "a b", "a-b"};
    for (unsigned flags : {0u, NORM_IGNORECASE}) {
        for (const char *left : words) {
            for (const char *right : words) {
                std::string a, b;
                ASSERT_TRUE(AppendSortKeyA(hungarian, flags, cp(left), a));
                ASSERT_TRUE(AppendSortKeyA(hungarian, flags, cp(right), b));
                const int byKeys = (a > b) - (a < b);
                EXPECT_EQ(byKeys, CompareStringA(hungarian, flags, cp(left), cp(right)) - CSTR_EQUAL)
                    << left << " / " << right << " flags " << flags;
                // The closing 0 byte is the key's only one, so no key begins another.
                EXPECT_EQ(a.find('\0'), a.size() - 1);
            }
        }
    }
}

TEST(SortKeys, KeysAreAppendedWhateverTheirLength)
{
    // A long text needs more room than a first guess gives; the key before it stays.
    const std::string longText(300, 'x');
    std::string both = "head";
    ASSERT_TRUE(AppendSortKeyA(hungarian, 0, cp("ló"), both));
    ASSERT_TRUE(AppendSortKeyA(hungarian, 0, longText, both));
    std::string first, second;
    ASSERT_TRUE(AppendSortKeyA(hungarian, 0, cp("ló"), first));
    ASSERT_TRUE(AppendSortKeyA(hungarian, 0, longText, second));
    EXPECT_EQ(both, "head" + first + second);
}

TEST(SortKeys, UnknownLocaleGivesNoKey)
{
    std::string key = "kept";
    EXPECT_FALSE(AppendSortKeyA(0x7777, 0, "abc", key));
    EXPECT_EQ(key, "kept");
}
