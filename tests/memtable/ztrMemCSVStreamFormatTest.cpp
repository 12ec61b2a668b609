#include "memtable/ztrMemCSVStreamFormat.h"

#include "platform/DataSource.h"
#include "ztrStreamTestTables.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

using namespace streamtest;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Values of every field of every record, in index order, "null" for a null value.
Rows contentsOf(TztrCustomMemTable &table)
{
    Rows rows;
    for (table.First(); !table.Eof(); table.Next()) {
        std::vector<std::string> row;
        for (const auto &field : table.Fields())
            row.push_back(field->IsNull() ? "null" : field->AsString());
        rows.push_back(row);
    }
    return rows;
}

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

struct Formats {
    Formats()
    {
        configureAsCSV(csv);
        configureAsCSVNodef(nodef);
    }
    TztrCSVStreamFormat csv, nodef;
};

} // namespace

TEST(CsvFile, RoomsAreSavedByteForByteAndLoadedWithOrWithoutTheirDefinitions)
{
    Formats f;
    TztrMemTable source;
    makeRoomTable(source);
    addExampleRooms(source);
    EXPECT_EQ(saveToText(source, f.csv), ExampleRoomFile);
    EXPECT_EQ(saveToText(source, f.nodef), ExampleRoomFileNodef);

    // The definition block replaces whatever fields and indexes the table had.
    TztrMemTable table;
    table.FieldDefs().Add("regi", ftString, 10);
    table.IndexDefs().Add("regi_ix", "regi", {});
    table.Open();
    loadFromText(table, f.csv, ExampleRoomFile);
    ASSERT_TRUE(table.Active());
    EXPECT_EQ(table.FindField("regi"), nullptr);
    EXPECT_EQ(table.IndexDefs().Count(), 1);
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(contentsOf(table), contentsOf(source));
    EXPECT_EQ(saveToText(table, f.csv), ExampleRoomFile);

    // Without definitions the block is passed over and the table keeps its own fields.
    TztrMemTable own;
    own.FieldDefs().Add("terem_kod", ftString, 10);
    own.FieldDefs().Add("sajat", ftInteger);
    own.Open();
    loadFromText(own, f.nodef, ExampleRoomFile);
    EXPECT_EQ(own.IndexDefs().Count(), 0);
    EXPECT_EQ(contentsOf(own), (Rows{{"A-001", "null"}, {"A-002", "null"}}));

    // A file of the block alone gives an open, empty table.
    f.csv.SetsfNoHeader({sfSaveNoHeader, sfLoadNoHeader});
    source.EmptyTable();
    TztrMemTable empty;
    loadFromText(empty, f.csv, saveToText(source, f.csv));
    EXPECT_TRUE(empty.Active());
    EXPECT_EQ(empty.FieldCount(), 5);
    EXPECT_EQ(empty.RecordCount(), 0);
}

TEST(CsvFile, RecordLinesAreReadByHeaderNameAndMissingItemsStayNull)
{
    const struct {
        std::string file;
        Rows rows;
        char comment = '\0';
    } cases[] = {
        {"terem_id\tterem_kod\tterem_hely\tterem_kapacitas\tterem_telephely\r\n7\tB-1\r\n8\tB-2\tfent\t30\t\r\n",
         {{"7", "B-1", "null", "null", "null"}, {"8", "B-2", "fent", "30", "null"}}},
        {"TEREM_KOD\tmegjegyzes\tTerem_Id\r\nA-9\tignored\t9\r\n", {{"9", "A-9", "null", "null", "null"}}},
        // A hand-edited lone escape at the end is lost.
        {"terem_id\tterem_kod\r\n1\t50%\r\n", {{"1", "50", "null", "null", "null"}}},
        {"terem_id\tterem_kod\n1\tA\n\n2\tB", {{"1", "A", "null", "null", "null"}, {"2", "B", "null", "null", "null"}}},
        {"# rooms\r\nterem_id\tterem_kod\r\n1\tA\r\n#2\tB\r\n3\tC#\r\n",
         {{"1", "A", "null", "null", "null"}, {"3", "C#", "null", "null", "null"}},
         '#'},
        {"terem_id\tK\xF3"
         "d\r\n4\tX\r\n",
         {{"4", "X", "null", "null", "null"}}},
    };
    for (const auto &c : cases) {
        TztrCSVStreamFormat nodef;
        configureAsCSVNodef(nodef);
        nodef.SetCommentChar(c.comment);
        TztrMemTable table;
        makeRoomTable(table);
        // A labelled field is named by its label in the header, in any case.
        if (contains(c.file, "K\xF3"))
            table.FieldByName("terem_kod")->SetDisplayLabel("k\xF3"
                                                            "D");
        loadFromText(table, nodef, c.file);
        EXPECT_EQ(contentsOf(table), c.rows) << c.file;
    }

    TztrMemTable flags;
    flags.FieldDefs().Add("nev", ftString, 10);
    flags.FieldDefs().Add("aktiv", ftBoolean);
    flags.Open();
    Formats f;
    loadFromText(flags, f.nodef, "nev\taktiv\r\na\tTrue\r\nb\ttrue\r\nc\tFalse\r\nd\r\n");
    EXPECT_EQ(contentsOf(flags), (Rows{{"a", "True"}, {"b", "False"}, {"c", "False"}, {"d", "null"}}));
}

TEST(CsvFile, EveryKindOfValueTheDataFilesHoldSurvivesRoundTrip)
{
    TztrMemTable table;
    table.FieldDefs().Add("azon", ftAutoInc);
    table.FieldDefs().Add("tort", ftFloat);
    table.FieldDefs().Add("nap", ftDate);
    table.FieldDefs().Add("ido", ftDateTime);
    table.FieldDefs().Add("igaz", ftBoolean);
    table.FieldDefs().Add("memo", ftMemo);
    table.FieldDefs().Add("szoveg", ftString, 40);
    table.Open();
    // A NUL at the end of a text field's value is not told from its padding; memo values carry it.
    const std::string tricky = "100% %n \r\n\r%c\n\nend%\t%t";
    table.AppendRecord({5, 0.1 + 0.2, EncodeDate(2025, 12, 14), EncodeDate(1899, 12, 31) + EncodeTime(7, 45, 0, 0),
                        true, std::string("els\xF5\r\nm\xE1sodik\0%n%", 18), tricky});
    table.Append();
    table.Post();
    // Milliseconds, as a hand-edited file may give them.
    table.Append();
    table.FieldByName("ido")->SetAsDateTime(EncodeDate(2025, 9, 8) + EncodeTime(9, 30, 0, 5));
    table.FieldByName("szoveg")->SetAsString("\n\tKelmendor\t");
    table.Post();

    Formats f;
    const std::string saved = saveToText(table, f.csv);
    TztrMemTable loaded;
    loadFromText(loaded, f.csv, saved);
    EXPECT_EQ(contentsOf(loaded), contentsOf(table));
    EXPECT_EQ(saveToText(loaded, f.csv), saved);
    loaded.First();
    // Fifteen significant digits travel, as the file's number form has them.
    EXPECT_EQ(loaded.FieldByName("tort")->AsFloat(), 0.3);
    loaded.Last();
    EXPECT_EQ(loaded.FieldByName("ido")->AsDateTime(), table.FieldByName("ido")->AsDateTime()) << saved;

    // A one-column file keeps its empty values as records.
    TztrMemTable providers;
    providers.FieldDefs().Add("provider", ftString, 500);
    providers.Open();
    for (const char *value : {"elso", "", "harmadik", ""})
        providers.AppendRecord({value});
    for (TztrCSVStreamFormat *format : {&f.csv, &f.nodef}) {
        TztrMemTable loaded;
        loaded.FieldDefs().Add("provider", ftString, 500);
        loaded.Open();
        loadFromText(loaded, *format, saveToText(providers, *format));
        EXPECT_EQ(contentsOf(loaded), (Rows{{"elso"}, {"null"}, {"harmadik"}, {"null"}}));
    }
}

TEST(CsvFile, FieldAndIndexFlagsTravelInTheDefinitionBlock)
{
    TztrMemTable table;
    table.FieldDefs().Add("kod", ftString, 10, true);
    table.FieldDefs().Add("rejtett", ftInteger);
    table.FieldDefs().Add("b", ftString, 10);
    table.IndexDefs().Add("ab", "rejtett;b", {ixDescending, ixCaseInsensitive, ixUnique});
    table.IndexDefs().Add("kod es b", "kod;b", {});
    table.Open();
    table.FieldByName("kod")->SetReadOnly(true);
    table.FieldByName("kod")->SetEditMask("LL");
    table.FieldByName("kod")->SetDefaultExpression("'AA'");
    table.FieldByName("rejtett")->SetVisible(false);
    Formats f;
    const std::string saved = saveToText(table, f.csv);
    EXPECT_TRUE(contains(saved, "kod=String,10,\"kod\",\"LL\",10,REQ,RO,Data,\"'AA'\"\r\n")) << saved;
    EXPECT_TRUE(contains(saved, "rejtett=Integer,0,\"rejtett\",\"\",10,INV,Data,\"\"\r\n")) << saved;
    EXPECT_TRUE(contains(saved, "\r\nab=rejtett;b,ab,DESC,CASE,UNIQ\r\n")) << saved;

    // Whatever the load missed, the save would leave out.
    TztrMemTable loaded;
    loadFromText(loaded, f.csv, saved);
    EXPECT_EQ(saveToText(loaded, f.csv), saved);
    EXPECT_TRUE(loaded.FieldByName("kod")->ReadOnly());
}

// Each damage a file may come with is refused with its line, never loaded in part or left to a
// later "closed dataset".
TEST(CsvFile, DamagedFileIsRefusedNamingTheFileTheLineAndWhatIsWrong)
{
    const std::string unique = replaceAll(replaceAll(ExampleRoomFile, "terem_id=terem_id,terem_id\r\n",
                                                     "terem_id=terem_id,terem_id,UNIQ\r\n"),
                                          "112\tA-002", "111\tA-002");
    const struct {
        const char *name;
        std::string file;
        const char *says;
        const char *line;
    } cases[] = {
        {"byte-order mark", "\xEF\xBB\xBF" + ExampleRoomFile, "(BOM)", "sor: 1"},
        {"no start marker", replaceAll(ExampleRoomFile, "@@TABLEDEF START@@\r\n", ""), "@@TABLEDEF START@@", "sor: 2"},
        {"end marker before start", replaceAll(ExampleRoomFile, "@@TABLEDEF START@@\r\n", "@@TABLEDEF END@@\r\n"),
         "@@TABLEDEF START@@", "sor: 2"},
        {"cut in the block", ExampleRoomFile.substr(0, ExampleRoomFile.find("terem_kapacitas=")), "@@TABLEDEF END@@",
         "sor: 5"},
        {"binary garbage", std::string("\x01\x7fPK\x03\x04\xff\xfe\r\n\x02\x03", 12), "nem definíciós blokkal",
         "sor: 1"},
        {"blank lines only", "\r\n\r\n\n", "üres", "sor:"},
        {"negative size", replaceAll(ExampleRoomFile, "=String,40,", "=String,-40,"), "Érvénytelen mezőméret (-40)",
         "sor: 4"},
        {"size past memory", replaceAll(ExampleRoomFile, "=String,40,", "=String,2147483647,"), "(terem_kod)",
         "sor: 4"},
        {"binary size past memory", replaceAll(ExampleRoomFile, "=String,40,", "=Bytes,2147483647,"),
         "Érvénytelen mezőméret", "sor: 4"},
        {"duplicate unique key", unique, "Duplikált érték az indexben", "sor: 14"},
        {"unknown type name", replaceAll(ExampleRoomFile, "=Integer,", "=Egesz,"),
         "Ismeretlen mezőtípus (Egesz) a CSV file-ban. (terem_kapacitas=Egesz,0,", "sor: 6"},
        {"size that is no number", replaceAll(ExampleRoomFile, "=String,40,", "=String,negyven,"), "negyven", "sor: 4"},
        {"index on a missing field", replaceAll(ExampleRoomFile, "terem_id=terem_id,", "terem_id=terem_szam,"),
         "terem_szam", "sor: 10"},
        {"letters in a number", replaceAll(ExampleRoomFile, "\t120\t", "\t12O\t"), "mező: terem_kapacitas",
         "sor: 13"},
        // The field would cut it, and the next save would write the cut value.
        {"text longer than its field", replaceAll(ExampleRoomFile, "\tKelmendor", "\t" + std::string(62, 'K')),
         "mező: terem_telephely", "sor: 13"},
        {"escaped text longer than its field", replaceAll(ExampleRoomFile, "%nbal", "%nbal%%"), "mező: terem_hely",
         "sor: 13"},
        {"letters in a number, lines ending in LF",
         replaceAll(replaceAll(ExampleRoomFile, "\t120\t", "\t12O\t"), "\r\n", "\n"), "mező", "sor: 13"},
        // A NUL would split the record in two: a second room 111 and the rest of the first.
        {"NUL inside a record", replaceAll(ExampleRoomFile, "A-001", std::string("A-0\0" "111\tB", 9)), "NUL",
         "sor: 13"},
        {"last line cut in a value", ExampleRoomFile.substr(0, ExampleRoomFile.size() - 6), "csonka", "sor: 14"},
        {"index name that would not read back",
         replaceAll(ExampleRoomFile, "terem_id=terem_id,terem_id\r\n", "terem_id=terem_id,a=b\r\n"),
         "Az index neve (a=b)", "sor: 9"},
        // The message quotes only the start of a huge value.
        {"huge bad value", replaceAll(ExampleRoomFile, "\t120\t", "\tX" + std::string(2'000'000, '9') + "\t"),
         "sz\xC3\xB6veg: \"X99999999", "sor: 13"},
    };
    for (const auto &c : cases) {
        TempFolder folder;
        writeFile(folder / "terem.csv", c.file);
        TztrMemTable table;
        Formats f;
        std::string message;
        try {
            table.LoadFromFileViaFormat(folder / "terem.csv", &f.csv);
        } catch (const Exception &error) {
            message = error.Message();
        }
        // The load stops before the damaged record, which does not stay half read.
        EXPECT_TRUE(!table.Active() || (table.State() == dsBrowse && table.RecordCount() < 2)) << c.name;
        EXPECT_TRUE(contains(message, c.says)) << c.name << ": " << message.substr(0, 500);
        EXPECT_TRUE(contains(message, c.line)) << c.name << ": " << message.substr(0, 500);
        EXPECT_TRUE(contains(message, (folder / "terem.csv").string())) << c.name << ": " << message.substr(0, 500);
        EXPECT_LT(message.size(), 1000U) << c.name;
    }
}

// A NUL travels escaped: one inside a text loads whole and saves back as it was, whether the
// records go straight into the store or through posting them.
TEST(CsvFile, EscapedNulInsideATextLoadsWhole)
{
    const std::string file = replaceAll(ExampleRoomFile, "\tKelmendor\r\n112", "\tKel%0mendor\r\n112");
    TempFolder folder;
    writeFile(folder / "terem.csv", file);
    for (const bool throughPost : {false, true}) {
        TztrMemTable table;
        loadCSVFile(table, folder / "terem.csv", throughPost);
        ASSERT_TRUE(table.Locate("terem_id", 111, {}));
        EXPECT_EQ(table.FieldByName("terem_telephely")->AsString(), std::string("Kel\0mendor", 10)) << throughPost;
        EXPECT_EQ(savedAsCSV(table), file) << throughPost;
    }
}

// A text ends after its last non-zero byte wherever a NUL stands in it, and a text as wide as its
// field ends at the field's end; integers are saved as they read, nulls as empty items.
TEST(CsvFile, TextsOfEveryLengthWithANulAtEveryPlaceSaveAndLoadWhole)
{
    TztrMemTable table;
    table.FieldDefs().Add("rovid", ftString, 9);
    table.FieldDefs().Add("hosszu", ftString, 24);
    table.FieldDefs().Add("szam", ftInteger);
    table.Open();
    std::vector<std::pair<std::string, std::string>> expected;
    const std::vector<std::optional<int>> numbers = {std::nullopt, 0, -1, 2147483647, -2147483647 - 1};
    for (const int width : {9, 24}) {
        for (int length = 1; length <= width; ++length) {
            const std::string plain(static_cast<std::size_t>(length), 'x');
            for (int nul = 0; nul <= length; ++nul) {
                std::string text = plain;
                if (nul < length)
                    text[static_cast<std::size_t>(nul)] = '\0';
                table.Append();
                table.FieldByName(width == 9 ? "rovid" : "hosszu")->SetAsString(text);
                if (const std::optional<int> number = numbers[expected.size() % numbers.size()])
                    table.FieldByName("szam")->SetAsInteger(*number);
                table.Post();
                // A NUL at the end is not told from the padding.
                expected.emplace_back(text.substr(0, text.find_last_not_of('\0') + 1),
                                      table.FieldByName("szam")->AsString());
            }
        }
    }
    const auto values = [](TztrMemTable &t) {
        std::vector<std::pair<std::string, std::string>> rows;
        for (t.First(); !t.Eof(); t.Next())
            rows.emplace_back(t.FieldByName("rovid")->AsString() + t.FieldByName("hosszu")->AsString(),
                              t.FieldByName("szam")->AsString());
        return rows;
    };
    ASSERT_EQ(values(table), expected);
    const std::string saved = savedAsCSV(table);
    EXPECT_TRUE(contains(saved, "\t-2147483648\r\n")) << "the lowest integer";
    for (const bool throughPost : {false, true}) {
        TempFolder folder;
        writeFile(folder / "szoveg.csv", saved);
        TztrMemTable loaded;
        loadCSVFile(loaded, folder / "szoveg.csv", throughPost);
        EXPECT_EQ(values(loaded), expected) << throughPost;
        EXPECT_EQ(savedAsCSV(loaded), saved) << throughPost;
    }
}

TEST(CsvFile, LimitsStopLoadsAndSavesAndZeroMeansNone)
{
    TztrMemTable source;
    makeRoomTable(source);
    for (int i = 1; i <= 15; ++i)
        addRoom(source, i, "R" + std::to_string(i), std::nullopt, i, "x");
    Formats f;
    for (const auto &[limit, count] : {std::pair{10, 10}, {15, 15}, {0, 15}}) {
        source.SetSaveLimit(limit);
        const std::string saved = saveToText(source, f.csv);
        EXPECT_EQ(source.SavedCompletely(), count == 15) << limit;
        EXPECT_TRUE(contains(saved, "\r\n" + std::to_string(count) + "\tR")) << limit;
        EXPECT_FALSE(contains(saved, "\r\n" + std::to_string(count + 1) + "\t")) << limit;

        source.SetSaveLimit(0);
        TztrMemTable table;
        table.SetLoadLimit(limit);
        loadFromText(table, f.csv, saveToText(source, f.csv));
        EXPECT_EQ(table.RecordCount(), count) << limit;
        EXPECT_EQ(table.LoadedCompletely(), count == 15) << limit;
    }
}

namespace {

// Puts settings of a user whose numbers and dates look nothing like the file's in place for one
// test, and the previous ones back afterwards.
class HungarianUser {
public:
    HungarianUser() : previous_(FormatSettings())
    {
        TFormatSettings user = TFormatSettings::Invariant();
        user.DecimalSeparator = ',';
        user.ThousandSeparator = ' ';
        user.DateSeparator = '.';
        user.ShortDateFormat = "yyyy.mm.dd.";
        user.LongTimeFormat = "hh:nn:ss";
        FormatSettings() = user;
    }
    ~HungarianUser() { FormatSettings() = previous_; }

private:
    TFormatSettings previous_;
};

void makeOccasionTable(TztrCustomMemTable &table)
{
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    table.FieldDefs().Add("suly", ftFloat);
    table.Open();
    table.Append();
    table.FieldByName("kezd_ido")->SetAsDateTime(EncodeDate(2025, 9, 8) + EncodeTime(7, 45, 0, 0));
    table.FieldByName("suly")->SetAsFloat(1234.5);
    table.Post();
}

} // namespace

TEST(CsvFile, DataFilesUseFixedNumberAndDateSettingsAndExportsTheUsers)
{
    const HungarianUser user;
    TztrMemTable table;
    makeOccasionTable(table);
    Formats f;
    for (const auto &[format, line] : {std::pair{&f.csv, "\r\n08/09/2025 07:45:00\t1234.5\r\n"},
                                       {&f.nodef, "\r\n2025.09.08. 07:45:00\t1234,5\r\n"}}) {
        const std::string saved = saveToText(table, *format);
        EXPECT_TRUE(saved.ends_with(line)) << saved;
        TztrMemTable loaded;
        makeOccasionTable(loaded);
        loadFromText(loaded, *format, saved);
        loaded.Last();
        EXPECT_EQ(loaded.FieldByName("suly")->AsFloat(), 1234.5);
        EXPECT_EQ(static_cast<double>(loaded.FieldByName("kezd_ido")->AsDateTime()),
                  static_cast<double>(table.FieldByName("kezd_ido")->AsDateTime()));
        EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
        EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy.mm.dd.");
    }

    // The user's settings come back when a load fails, too, and the line is named.
    TztrMemTable loaded;
    makeOccasionTable(loaded);
    EXPECT_THROW(loadFromText(loaded, f.csv, "kezd_ido\tsuly\r\n01/01/2000\tsok\r\n"), EConvertError);
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy.mm.dd.");
    EXPECT_FALSE(loaded.ControlsDisabled());
    f.nodef.SetsfLocalFormat({});
    TztrMemTable dates;
    dates.FieldDefs().Add("kezd_ido", ftDateTime);
    dates.Open();
    try {
        loadFromText(dates, f.nodef, "kezd_ido\r\n01/01/1900\r\n\r\n31/02/2025 08:00:00\r\n");
        ADD_FAILURE() << "a date that does not parse was loaded";
    } catch (const EConvertError &error) {
        EXPECT_TRUE(contains(error.Message(), "sor: 4")) << error.Message();
        EXPECT_TRUE(contains(error.Message(), "\"31/02/2025 08:00:00\"")) << error.Message();
    }
    EXPECT_EQ(dates.RecordCount(), 1);
}

namespace {

// The user's settings under every locale the program can take them from, and a few made up to
// differ from the file's form in every part.
std::vector<std::pair<std::string, TFormatSettings>> everyUsersSettings()
{
    std::vector<std::pair<std::string, TFormatSettings>> users{{"C", TFormatSettings::FromLocale("C")}};
    int count = 0;
    const icu::Locale *locales = icu::Locale::getAvailableLocales(count);
    for (int i = 0; i < count; ++i)
        users.emplace_back(locales[i].getName(), TFormatSettings::FromLocale(locales[i].getName()));
    TFormatSettings dots = TFormatSettings::Invariant();
    dots.DateSeparator = dots.TimeSeparator = dots.ThousandSeparator = '.';
    dots.DecimalSeparator = ',';
    dots.ShortDateFormat = "d.m.yyyy";
    dots.LongTimeFormat = "h.nn.ss";
    users.emplace_back("dots", dots);
    TFormatSettings twelveHours = TFormatSettings::Invariant();
    twelveHours.LongTimeFormat = "ampm h:nn:ss";
    twelveHours.TimeAMString = "de.";
    twelveHours.TimePMString = "du.";
    twelveHours.ShortDateFormat = "yy/mm/dd";
    twelveHours.TwoDigitYearCenturyWindow = 0;
    users.emplace_back("twelve hours", twelveHours);
    TFormatSettings words = TFormatSettings::Invariant();
    words.LongTimeFormat = "hh'h'nn";
    words.ShortDateFormat = "yyyy-mm-dd";
    words.DateSeparator = '-';
    words.TimeSeparator = 'h';
    words.DecimalSeparator = '\'';
    users.emplace_back("words", words);
    return users;
}

class UserSettings {
public:
    UserSettings() : previous_(FormatSettings()) {}
    ~UserSettings() { FormatSettings() = previous_; }
    void set(const TFormatSettings &settings) { FormatSettings() = settings; }

private:
    TFormatSettings previous_;
};

} // namespace

// An occasion saved by a planner under any locale loads for a planner under any other: the file
// has one form, the one the sample files hold, and earlier files keep loading.
TEST(CsvFile, FilesSavedUnderAnyLocaleLoadUnderEveryOther)
{
    UserSettings user;
    TztrMemTable table;
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    table.FieldDefs().Add("ora", ftTime);
    table.FieldDefs().Add("nap", ftDate);
    table.FieldDefs().Add("suly", ftFloat);
    table.Open();
    const TDateTime morning = EncodeDate(1900, 1, 6) + EncodeTime(9, 30, 0, 0);
    const TDateTime afternoon = EncodeDate(2025, 9, 8) + EncodeTime(13, 45, 7, 0);
    table.AppendRecord({morning, EncodeTime(9, 30, 0, 0), EncodeDate(2025, 12, 24), -1234.5});
    table.AppendRecord({afternoon, EncodeTime(23, 59, 59, 0), EncodeDate(1899, 12, 30), 0.25});
    table.AppendRecord({EncodeDate(2026, 2, 1), EncodeTime(0, 0, 0, 0), EncodeDate(2026, 2, 1), 1e20});
    const Rows expected = [&] {
        user.set(TFormatSettings::Invariant());
        return contentsOf(table);
    }();

    Formats f;
    const auto users = everyUsersSettings();
    ASSERT_GT(users.size(), 100U);
    user.set(users.front().second);
    const std::string file = saveToText(table, f.csv);
    EXPECT_TRUE(contains(file, "\r\n06/01/1900 09:30:00\t09:30:00\t24/12/2025\t-1234.5\r\n")) << file;
    EXPECT_TRUE(contains(file, "\r\n01/02/2026\t00:00:00\t01/02/2026\t1E20\r\n")) << file;
    // Files of earlier versions: what a Hungarian planner's program wrote, a twelve-hour clock, and
    // dots between the parts of the time.
    const std::string earlier = replaceAll(replaceAll(file, " 09:30:00\t09:30:00", " 9:30:00\t9.30.00"),
                                           " 13:45:07\t23:59:59", " 1:45:07 PM\t11:59:59 PM");
    for (const auto &[name, settings] : users) {
        user.set(settings);
        EXPECT_EQ(saveToText(table, f.csv), file) << name;
        for (const std::string *text : {&file, &earlier}) {
            TztrMemTable loaded;
            EXPECT_NO_THROW(loadFromText(loaded, f.csv, *text)) << name << "\n" << *text;
            user.set(TFormatSettings::Invariant());
            EXPECT_EQ(contentsOf(loaded), expected) << name << "\n" << *text;
            user.set(settings);
        }
    }
}

TEST(CsvFile, DeltasAreRefusedBeforeAnythingIsWritten)
{
    TztrMemTable table;
    makeRoomTable(table);
    addExampleRooms(table);
    Formats f;
    f.csv.SetsfDeltas({sfSaveDeltas});
    TStringStream out("kept");
    EXPECT_EQ(messageOf([&] { table.SaveToStreamViaFormat(out, &f.csv); }),
              "A különbségeket csak bináris formában lehet kimenteni.");
    EXPECT_EQ(out.DataString(), "kept");
    EXPECT_FALSE(table.ControlsDisabled());
}

// A filter, a range or a master link narrows what the user sees, never what is saved.
TEST(CsvFile, TheWholeTableIsSavedInIndexOrderWhateverTheViewShows)
{
    TztrMemTable table;
    makeRoomTable(table);
    for (const int id : {2, 1, 4, 3})
        addRoom(table, id, "R" + std::to_string(id), std::nullopt, id, "x");
    Formats f;
    const auto lines = [&] {
        const std::string saved = saveToText(table, f.nodef);
        return std::count(saved.begin(), saved.end(), '\n');
    };
    EXPECT_TRUE(contains(saveToText(table, f.nodef), "\r\n2\tR2\t\t2\tx\r\n1\tR1"));
    table.SetIndexName("terem_id");
    EXPECT_TRUE(contains(saveToText(table, f.nodef), "\r\n1\tR1\t\t1\tx\r\n2\tR2"));

    table.OnFilterRecord = [](TDataSet &dataSet, bool &accept) {
        accept = dataSet.FieldByName("terem_id")->AsInteger() % 2 == 0;
    };
    table.SetFiltered(true);
    EXPECT_EQ(lines(), 5);
    EXPECT_TRUE(table.Filtered());
    EXPECT_EQ(table.RecordCount(), 2);
    f.nodef.SetsfFiltered({});
    EXPECT_EQ(lines(), 3);
    EXPECT_TRUE(contains(saveToText(table, f.nodef), "\r\n2\tR2\t"));
    table.SetFiltered(false);

    table.SetRange(2, 3);
    EXPECT_EQ(lines(), 5);
    EXPECT_TRUE(table.RangeActive());
    EXPECT_EQ(table.RecordCount(), 2);
    f.nodef.SetsfIgnoreRange({});
    EXPECT_EQ(lines(), 3);

    TztrMemTable courses;
    courses.FieldDefs().Add("kurzus_id", ftInteger);
    courses.Open();
    courses.AppendRecord({1});
    courses.AppendRecord({2});
    courses.First();
    TDataSource source(&courses);
    TztrMemTable occasions;
    occasions.FieldDefs().Add("alkalom_id", ftInteger);
    occasions.FieldDefs().Add("kurzus_id", ftInteger);
    occasions.IndexDefs().Add("kurzus", "kurzus_id", {});
    occasions.Open();
    occasions.AppendRecord({10, 1});
    occasions.AppendRecord({20, 2});
    occasions.AppendRecord({11, 1});
    occasions.SetIndexName("kurzus");
    occasions.SetMasterSource(&source);
    occasions.SetMasterFields("kurzus_id");
    ASSERT_EQ(occasions.RecordCount(), 2);
    Formats g;
    EXPECT_EQ(saveToText(occasions, g.nodef), "alkalom_id\tkurzus_id\r\n11\t1\r\n10\t1\r\n20\t2\r\n");
    EXPECT_EQ(occasions.RecordCount(), 2);
    g.nodef.SetsfIgnoreMasterDetail({});
    EXPECT_EQ(saveToText(occasions, g.nodef), "alkalom_id\tkurzus_id\r\n11\t1\r\n10\t1\r\n");
}

TEST(CsvFile, LoadedKeysAreKeptAndNewRecordsNumberAfterTheLargest)
{
    TztrMemTable table;
    makeRoomTable(table);
    addRoom(table, 500, "Z", std::nullopt, std::nullopt, "x");
    Formats f;
    loadFromText(table, f.nodef, "terem_id\tterem_kod\r\n7\tA\r\n\t\r\n");
    table.Append();
    table.FieldByName("terem_kod")->SetAsString("new");
    table.Post();
    EXPECT_EQ(contentsOf(table), (Rows{{"500", "Z", "null", "null", "x"},
                                       {"7", "A", "null", "null", "null"},
                                       {"null", "null", "null", "null", "null"},
                                       {"501", "new", "null", "null", "null"}}));
}

TEST(CsvFile, TextsReadInPlaceAreWrittenAsThroughTheirFields)
{
    const HungarianUser user;
    Formats f;
    const std::string tricky[] = {"id\xE9zet \"a\" \t%n% \r\nv\xE9g\xE9n\r", "", "   ", "%", "\xF5\xFB\xC1\xC9",
                                  std::string(60, 'x')};
    for (const TztrPerformance performance : {mtpfFast, mtpfBalanced, mtpfSmall}) {
        TztrMemTable table;
        table.SetPerformance(performance);
        table.FieldDefs().Add("rovid", ftString, 5);
        table.FieldDefs().Add("hosszu", ftString, 40);
        table.FieldDefs().Add("fix", ftFixedChar, 8);
        table.FieldDefs().Add("szam", ftInteger);
        table.FieldDefs().Add("tort", ftFloat);
        table.FieldDefs().Add("ido", ftDateTime);
        table.OnCompressField = [](TztrCustomMemTable &, TField *, std::string &value) { value += "z"; };
        table.OnDecompressField = [](TztrCustomMemTable &, TField *, std::string &value) { value.pop_back(); };
        table.Open();
        int n = 0;
        for (const std::string &text : tricky)
            table.AppendRecord({text, text, text, -n, 1234.5 * n, EncodeDate(2025, 9, 8) + n++});
        table.Append();
        table.Post();
        // A posted edit moves the new values into the stored record.
        table.First();
        table.Edit();
        table.FieldByName("hosszu")->SetAsString("\xE1t\xEDrva\t");
        table.Post();

        for (TztrCSVStreamFormat *format : {&f.csv, &f.nodef}) {
            const std::string inPlace = saveToText(table, *format);
            table.OnSaveField = [](TztrCustomMemTable &, int, TField &) {};
            EXPECT_EQ(inPlace, saveToText(table, *format)) << "performance " << int(performance);
            table.OnSaveField = nullptr;
            TztrMemTable loaded;
            loaded.FieldDefs().Assign(table.FieldDefs());
            loaded.Open();
            loadFromText(loaded, *format, inPlace);
            // Empty texts come back null, which the file writes alike.
            EXPECT_EQ(saveToText(loaded, *format), inPlace);
        }
    }
}

TEST(CsvFormatSettings, FieldDelimiterCannotBeNul)
{
    TztrCSVStreamFormat format;
    format.SetCSVFieldDelimiter('\t');
    format.SetCSVFieldDelimiter('\0');
    EXPECT_EQ(format.CSVFieldDelimiter(), '\t');
}

TEST(CsvFormatSettings, AssignCopiesTheLayoutButNotCommentsEscapesOrHeaders)
{
    TztrCSVStreamFormat source;
    source.SetCommentChar(';');
    source.SetEscapeChar('\\');
    source.SetDefaultStringFieldSize(40);
    source.SetCSVQuote('\0');
    source.SetCSVFieldDelimiter('\t');
    source.SetCSVRecordDelimiter('\0');
    source.SetCSVTrueString("igen");
    source.SetCSVFalseString("nem");
    source.SetsfLocalFormat({sfSaveLocalFormat, sfLoadLocalFormat});
    source.SetsfQuoteOnlyStrings({sfSaveQuoteOnlyStrings});
    source.SetsfNoHeader({sfSaveNoHeader});
    source.SetsfPlaceHolders({sfSavePlaceholders});
    source.SetsfDef({});

    TztrCSVStreamFormat target;
    target.Assign(source);
    EXPECT_EQ(target.CSVQuote(), '\0');
    EXPECT_EQ(target.CSVFieldDelimiter(), '\t');
    EXPECT_EQ(target.CSVRecordDelimiter(), '\0');
    EXPECT_EQ(target.CSVTrueString(), "igen");
    EXPECT_EQ(target.CSVFalseString(), "nem");
    EXPECT_TRUE(target.sfLocalFormat() == source.sfLocalFormat());
    EXPECT_TRUE(target.sfPlaceHolders() == source.sfPlaceHolders());
    EXPECT_TRUE(target.sfDef().Empty());

    EXPECT_EQ(target.CommentChar(), '\0');
    EXPECT_EQ(target.EscapeChar(), '%');
    EXPECT_EQ(target.DefaultStringFieldSize(), 255);
    EXPECT_TRUE(target.sfQuoteOnlyStrings().Empty());
    EXPECT_TRUE(target.sfNoHeader().Empty());
}

TEST(CsvFormatSettings, AssignFromPlainFormatTakesOnlyTheFlagSets)
{
    TztrCustomStreamFormat source;
    source.SetsfBlobs({});
    TztrCSVStreamFormat target;
    target.SetCSVQuote('\'');
    target.Assign(source);
    EXPECT_TRUE(target.sfBlobs().Empty());
    EXPECT_EQ(target.CSVQuote(), '\'');
}

TEST(CsvWorkedExample, RoomsAreSavedByteForByteAndLoadIntoAnEmptyTable)
{
    TztrMemTable source;
    makeRoomTable(source);
    addExampleRooms(source);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    EXPECT_EQ(saveToText(source, csv), ExampleRoomFile);
    EXPECT_EQ(saveToText(source, nodef), ExampleRoomFileNodef);

    TztrMemTable table;
    loadFromText(table, csv, ExampleRoomFile);
    ASSERT_TRUE(table.Active());
    ASSERT_EQ(table.FieldCount(), 5);
    EXPECT_EQ(table.FieldByName("terem_id")->DataType(), ftAutoInc);
    EXPECT_EQ(table.FieldByName("terem_kod")->Size(), 40);
    ASSERT_EQ(table.IndexDefs().Count(), 1);
    EXPECT_EQ(table.IndexDefs()[0]->Name(), "terem_id");
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(contentsOf(table), contentsOf(source));
    EXPECT_EQ(saveToText(table, csv), ExampleRoomFile);
}

TEST(CsvRecordLines, PercentLineBreaksAndTabsSurviveRoundTrip)
{
    // A NUL cannot stand in a text field (its value ends there); memo values carry it, as the
    // round trip of every kind of value shows.
    const std::string tricky = "100% %n \r\n\r%c\n\nend%\t%t";
    TztrMemTable table;
    makeRoomTable(table);
    addRoom(table, 1, tricky, std::string("%%"), 1, "\n\tKelmendor\t");
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string saved = saveToText(table, csv);

    TztrMemTable loaded;
    loadFromText(loaded, csv, saved);
    EXPECT_EQ(loaded.FieldByName("terem_kod")->AsString(), tricky);
    EXPECT_EQ(loaded.FieldByName("terem_hely")->AsString(), "%%");
    EXPECT_EQ(loaded.FieldByName("terem_telephely")->AsString(), "\n\tKelmendor\t");
    EXPECT_EQ(loaded.RecordCount(), 1);
}

TEST(CsvRecordLines, OneColumnTableKeepsItsEmptyValues)
{
    TztrMemTable table;
    table.FieldDefs().Add("provider", ftString, 500);
    table.Open();
    for (const char *value : {"elso", "", "harmadik", ""}) {
        table.Append();
        table.FieldByName("provider")->SetAsString(value);
        table.Post();
    }
    for (const bool withDefinitions : {true, false}) {
        TztrCSVStreamFormat format;
        withDefinitions ? configureAsCSV(format) : configureAsCSVNodef(format);
        TztrMemTable loaded;
        loaded.FieldDefs().Add("provider", ftString, 500);
        loaded.Open();
        loadFromText(loaded, format, saveToText(table, format));
        const std::vector<std::vector<std::string>> expected = {{"elso"}, {"null"}, {"harmadik"}, {"null"}};
        EXPECT_EQ(contentsOf(loaded), expected) << withDefinitions;
    }
}

TEST(CsvNullsAndEmptyTexts, OnlyQuotedFilesKeepEmptyTextsApartFromNull)
{
    TztrMemTable table;
    makeRoomTable(table);
    addRoom(table, 1, "", std::nullopt, 1, "x");
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    TztrCSVStreamFormat quoted;
    for (const auto &[format, line] : {std::pair{&csv, "\r\n1\t\t\t1\tx\r\n"}, {&quoted, "\r\n\"1\",\"\",,\"1\",\"x\",\r\n"}}) {
        const std::string saved = saveToText(table, *format);
        EXPECT_NE(saved.find(line), std::string::npos) << saved;
        TztrMemTable loaded;
        loadFromText(loaded, *format, saved);
        EXPECT_EQ(loaded.FieldByName("terem_kod")->IsNull(), format == &csv);
        EXPECT_EQ(loaded.FieldByName("terem_kod")->AsString(), "");
        EXPECT_TRUE(loaded.FieldByName("terem_hely")->IsNull());
        EXPECT_EQ(saveToText(loaded, *format), saved);
    }
    EXPECT_TRUE(saveToText(table, quoted).starts_with("\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n"));
}

TEST(CsvValues, BooleanIsTrueOnlyForTheExactTrueString)
{
    TztrMemTable table;
    table.FieldDefs().Add("nev", ftString, 10);
    table.FieldDefs().Add("aktiv", ftBoolean);
    table.Open();
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    loadFromText(table, nodef, "nev\taktiv\r\na\tTrue\r\nb\ttrue\r\nc\tFalse\r\nd\r\n");
    const std::vector<std::vector<std::string>> expected = {
        {"a", "True"}, {"b", "False"}, {"c", "False"}, {"d", "null"}};
    EXPECT_EQ(contentsOf(table), expected);
}

TEST(CsvValues, EveryKindOfValueSurvivesRoundTrip)
{
    TztrMemTable table;
    table.FieldDefs().Add("kis", ftSmallint);
    table.FieldDefs().Add("nagy", ftLargeint);
    table.FieldDefs().Add("tort", ftFloat);
    table.FieldDefs().Add("penz", ftCurrency);
    table.FieldDefs().Add("nap", ftDate);
    table.FieldDefs().Add("ido", ftDateTime);
    table.FieldDefs().Add("igaz", ftBoolean);
    table.FieldDefs().Add("bajt", ftBytes, 4);
    table.FieldDefs().Add("valt", ftVarBytes, 8);
    table.FieldDefs().Add("szeles", ftWideString, 20);
    table.FieldDefs().Add("blob", ftBlob);
    table.FieldDefs().Add("memo", ftMemo);
    table.Open();
    table.Append();
    table.FieldByName("kis")->SetAsInteger(-12);
    table.FieldByName("nagy")->SetAsLargeInt(-9000000000LL);
    table.FieldByName("tort")->SetAsFloat(0.1 + 0.2);
    table.FieldByName("penz")->SetAsCurrency(Currency::FromScaled(-123456789));
    table.FieldByName("nap")->SetAsDateTime(EncodeDate(2025, 12, 14));
    table.FieldByName("ido")->SetAsDateTime(EncodeDate(1899, 12, 31) + EncodeTime(7, 45, 0, 0));
    table.FieldByName("igaz")->SetAsBoolean(true);
    table.FieldByName("bajt")->SetAsString(std::string("\0\x01\xFF\n", 4));
    table.FieldByName("valt")->SetAsString("abc");
    table.FieldByName("szeles")->SetAsWideString(u"\u0151\u0171");
    table.FieldByName("blob")->SetAsString(std::string("\r\n\0\t\xFF", 5));
    table.FieldByName("memo")->SetAsString(std::string("els\xF5\r\nm\xE1sodik\0%n%", 18));
    table.Post();
    table.Append();
    table.Post();
    // Milliseconds, as a hand-edited file may give them.
    table.Append();
    table.FieldByName("ido")->SetAsDateTime(EncodeDate(2025, 9, 8) + EncodeTime(9, 30, 0, 5));
    table.Post();

    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    TztrCSVStreamFormat quoted;
    for (TztrCSVStreamFormat *format : {&csv, &quoted}) {
        const std::string saved = saveToText(table, *format);
        TztrMemTable loaded;
        loadFromText(loaded, *format, saved);
        EXPECT_EQ(contentsOf(loaded), contentsOf(table));
        loaded.Last();
        EXPECT_EQ(loaded.FieldByName("ido")->AsDateTime(), table.FieldByName("ido")->AsDateTime()) << saved;
        loaded.First();
        // Fifteen significant digits travel, as the file's number form has them.
        EXPECT_EQ(loaded.FieldByName("tort")->AsFloat(), 0.3);
        EXPECT_EQ(loaded.FieldByName("szeles")->AsWideString(), u"\u0151\u0171");
        EXPECT_EQ(loaded.FieldByName("memo")->AsString(), std::string("els\xF5\r\nm\xE1sodik\0%n%", 18));
    }
}

TEST(CsvHeader, DisplayLabelsNameTheColumns)
{
    TztrMemTable table;
    makeRoomTable(table);
    table.FieldByName("terem_kod")
        ->SetDisplayLabel("K\xF3"
                          "d");
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    addRoom(table, 1, "A", std::nullopt, std::nullopt, "B");
    const std::string saved = saveToText(table, nodef);
    EXPECT_TRUE(saved.starts_with("terem_id\tK\xF3"
                                  "d\t"))
        << saved;

    TztrMemTable loaded;
    makeRoomTable(loaded);
    loaded.FieldByName("terem_kod")
        ->SetDisplayLabel("k\xF3"
                          "D");
    loadFromText(loaded, nodef, saved);
    EXPECT_EQ(loaded.FieldByName("terem_kod")->AsString(), "A");
}

TEST(CsvHeader, WithoutHeaderColumnsGoByPosition)
{
    TztrMemTable table;
    makeRoomTable(table);
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    nodef.SetsfNoHeader({sfSaveNoHeader, sfLoadNoHeader});
    addExampleRooms(table);
    const std::string saved = saveToText(table, nodef);
    EXPECT_TRUE(saved.starts_with("111\t")) << saved;

    TztrMemTable loaded;
    makeRoomTable(loaded);
    loadFromText(loaded, nodef, saved);
    EXPECT_EQ(contentsOf(loaded), contentsOf(table));
}

TEST(CsvDefinitionBlock, ShortFieldLinesLoadAndALabelHoldingTheReadOnlyFlagStillLoads)
{
    TztrMemTable table;
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    loadFromText(table, csv,
                 "@@TABLEDEF START@@\r\n"
                 "id=Integer,0,\"Azonos\xEDt\xF3\",\"\",8\r\n"
                 "nev=String,30,\"nev\",\"\",30,Data\r\n"
                 "kod=String,10,\"k,RO\",\"\",10,Data,\"\"\r\n"
                 "@@TABLEDEF END@@\r\n"
                 "Azonos\xEDt\xF3\tnev\tk,RO\r\n"
                 "5\tegy\tx\r\n");
    ASSERT_EQ(table.FieldCount(), 3);
    EXPECT_EQ(table.Fields()[0]->DisplayLabel(), "Azonos\xEDt\xF3");
    EXPECT_EQ(table.Fields()[0]->DisplayWidth(), 8);
    EXPECT_EQ(table.Fields()[0]->FieldKind(), fkData);
    EXPECT_EQ(table.Fields()[1]->Size(), 30);
    EXPECT_TRUE(table.FieldByName("kod")->ReadOnly());
    const std::vector<std::vector<std::string>> expected = {{"5", "egy", "x"}};
    EXPECT_EQ(contentsOf(table), expected);
    table.Edit();
    EXPECT_THROW(table.FieldByName("kod")->SetAsString("y"), EDatabaseError);
    table.Cancel();
}

TEST(CsvDefinitionBlock, FlagsAndKindsOfFieldsTravel)
{
    TztrMemTable table;
    table.FieldDefs().Add("kod", ftString, 10, true);
    table.FieldDefs().Add("rejtett", ftInteger);
    table.Open();
    table.FieldByName("kod")->SetReadOnly(true);
    table.FieldByName("kod")->SetEditMask("LL");
    table.FieldByName("kod")->SetDefaultExpression("'AA'");
    table.FieldByName("rejtett")->SetVisible(false);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string saved = saveToText(table, csv);
    EXPECT_NE(saved.find("kod=String,10,\"kod\",\"LL\",10,REQ,RO,Data,\"'AA'\"\r\n"), std::string::npos)
        << saved;
    EXPECT_NE(saved.find("rejtett=Integer,0,\"rejtett\",\"\",10,INV,Data,\"\"\r\n"), std::string::npos)
        << saved;

    TztrMemTable loaded;
    loadFromText(loaded, csv, saved);
    EXPECT_TRUE(loaded.FieldByName("kod")->Required());
    EXPECT_TRUE(loaded.FieldByName("kod")->ReadOnly());
    EXPECT_EQ(loaded.FieldByName("kod")->EditMask(), "LL");
    EXPECT_EQ(loaded.FieldByName("kod")->DefaultExpression(), "'AA'");
    EXPECT_FALSE(loaded.FieldByName("rejtett")->Visible());
    EXPECT_EQ(saveToText(loaded, csv), saved);
}

TEST(CsvDefinitionBlock, ReplacesTheTablesFieldsAndIndexesThroughCsv)
{
    TztrMemTable table;
    table.FieldDefs().Add("terem_id", ftInteger);
    table.FieldDefs().Add("regi", ftString, 10);
    table.IndexDefs().Add("regi_ix", "regi", {});
    table.Open();
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    loadFromText(table, csv, ExampleRoomFile);
    EXPECT_EQ(table.FindField("regi"), nullptr);
    ASSERT_NE(table.FindField("terem_telephely"), nullptr);
    EXPECT_EQ(table.FieldByName("terem_id")->DataType(), ftAutoInc);
    ASSERT_EQ(table.IndexDefs().Count(), 1);
    EXPECT_EQ(table.IndexDefs()[0]->Name(), "terem_id");
    EXPECT_EQ(table.RecordCount(), 2);
}

TEST(CsvDefinitionBlock, IsSkippedThroughNodef)
{
    TztrMemTable table;
    table.FieldDefs().Add("terem_kod", ftString, 10);
    table.FieldDefs().Add("sajat", ftInteger);
    table.Open();
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    loadFromText(table, nodef, ExampleRoomFile);
    ASSERT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(table.IndexDefs().Count(), 0);
    const std::vector<std::vector<std::string>> expected = {{"A-001", "null"}, {"A-002", "null"}};
    EXPECT_EQ(contentsOf(table), expected);
}

TEST(CsvDefinitionBlock, IndexFlagsTravelAndNamesComeFromTheDisplayName)
{
    TztrMemTable table;
    table.FieldDefs().Add("a", ftInteger);
    table.FieldDefs().Add("b", ftString, 10);
    table.IndexDefs().Add("ab", "a;b", {ixDescending, ixCaseInsensitive, ixUnique});
    table.Open();
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string saved = saveToText(table, csv);
    EXPECT_NE(saved.find("\r\nab=a;b,ab,DESC,CASE,UNIQ\r\n"), std::string::npos) << saved;

    TztrMemTable loaded;
    loadFromText(loaded, csv, saved);
    ASSERT_EQ(loaded.IndexDefs().Count(), 1);
    EXPECT_EQ(loaded.IndexDefs()[0]->Fields(), "a;b");
    EXPECT_TRUE(loaded.IndexDefs()[0]->Options() ==
                (TIndexOptions{ixDescending, ixCaseInsensitive, ixUnique}));
}

TEST(CsvDefinitionBlock, IndexOnFieldNamesWithBlanksReloads)
{
    TztrMemTable table;
    table.FieldDefs().Add("terem kod", ftString, 40);
    table.FieldDefs().Add("hely", ftString, 20);
    table.IndexDefs().Add("kod es hely", "terem kod;hely", {});
    table.IndexDefs().Add("hely", "hely", {});
    table.Open();
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string saved = saveToText(table, csv);
    // Names without blanks are written as before.
    EXPECT_NE(saved.find("\r\nhely=hely,hely\r\n"), std::string::npos) << saved;

    TztrMemTable loaded;
    loadFromText(loaded, csv, saved);
    ASSERT_EQ(loaded.IndexDefs().Count(), 2);
    EXPECT_EQ(loaded.IndexDefs()[0]->Name(), "kod es hely");
    EXPECT_EQ(loaded.IndexDefs()[0]->Fields(), "terem kod;hely");
    EXPECT_EQ(saveToText(loaded, csv), saved);
}

TEST(CsvDefinitionBlock, AutomaticLayoutMakesTextFieldsFromTheFirstLine)
{
    TztrMemTable table;
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    nodef.SetsfDef({sfAutoLayoutDef});
    nodef.SetDefaultStringFieldSize(30);
    loadFromText(table, nodef, "kod\t\tnev\r\nA\t1\tB\r\n");
    ASSERT_EQ(table.FieldCount(), 3);
    EXPECT_EQ(table.Fields()[0]->FieldName(), "kod");
    EXPECT_EQ(table.Fields()[1]->FieldName(), "Field_2");
    EXPECT_EQ(table.Fields()[2]->DataType(), ftString);
    EXPECT_EQ(table.Fields()[2]->Size(), 30);
    EXPECT_EQ(table.RecordCount(), 1);

    nodef.SetsfNoHeader({sfLoadNoHeader});
    loadFromText(table, nodef, "A\tB\r\nC\tD\r\n");
    ASSERT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(table.Fields()[0]->FieldName(), "Field_1");
    const std::vector<std::vector<std::string>> expected = {{"A", "B"}, {"C", "D"}};
    EXPECT_EQ(contentsOf(table), expected);
}

TEST(CsvDamagedFile, HugeBadValueIsQuotedOnlyInPart)
{
    TztrMemTable table;
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string huge(2'000'000, '9');
    const std::string message = messageOf(
        [&] { loadFromText(table, csv, replaceAll(ExampleRoomFile, "\t120\t", "\tX" + huge + "\t")); });
    EXPECT_NE(message.find("mező: terem_kapacitas"), std::string::npos) << message.substr(0, 500);
    EXPECT_LT(message.size(), 1000U);
    // The conversion's own message and the line's text both quote the start of the value.
    EXPECT_TRUE(message.starts_with("'X99999999")) << message.substr(0, 500);
    EXPECT_NE(message.find("sz\xC3\xB6veg: \"X99999999"), std::string::npos) << message.substr(0, 500);
}

TEST(CsvDamagedFile, DateThatDoesNotParseSaysWhere)
{
    TztrMemTable table;
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    table.Open();
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    nodef.SetsfLocalFormat({});
    const std::string message = messageOf(
        [&] { loadFromText(table, nodef, "kezd_ido\r\n01/01/1900\r\n\r\n31/02/2025 08:00:00\r\n"); });
    EXPECT_NE(message.find("sor: 4"), std::string::npos) << message;
    EXPECT_NE(message.find("\"31/02/2025 08:00:00\""), std::string::npos) << message;
    EXPECT_EQ(table.RecordCount(), 1);
}

TEST(CsvLimits, LimitsStopLoadsAndSavesAndZeroMeansNone)
{
    TztrMemTable source;
    makeRoomTable(source);
    for (int i = 1; i <= 15; ++i)
        addRoom(source, i, "R" + std::to_string(i), std::nullopt, i, "x");
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    for (const auto &[limit, count] : {std::pair{10, 10}, {15, 15}, {0, 15}}) {
        source.SetSaveLimit(limit);
        const std::string saved = saveToText(source, csv);
        EXPECT_EQ(source.SavedCompletely(), count == 15) << limit;
        EXPECT_NE(saved.find("\r\n" + std::to_string(count) + "\tR"), std::string::npos) << limit;
        EXPECT_EQ(saved.find("\r\n" + std::to_string(count + 1) + "\t"), std::string::npos) << limit;

        source.SetSaveLimit(0);
        TztrMemTable table;
        table.SetLoadLimit(limit);
        loadFromText(table, csv, saveToText(source, csv));
        EXPECT_EQ(table.RecordCount(), count) << limit;
        EXPECT_EQ(table.LoadedCompletely(), count == 15) << limit;
    }
}

TEST(CsvNumberAndDateSettings, FilesUseFixedSettingsWhateverTheUserHas)
{
    const HungarianUser user;
    TztrMemTable table;
    makeOccasionTable(table);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string saved = saveToText(table, csv);
    EXPECT_TRUE(saved.ends_with("\r\n08/09/2025 07:45:00\t1234.5\r\n")) << saved;
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');

    TztrMemTable loaded;
    loadFromText(loaded, csv, saved);
    EXPECT_EQ(loaded.FieldByName("suly")->AsFloat(), 1234.5);
    EXPECT_EQ(static_cast<double>(loaded.FieldByName("kezd_ido")->AsDateTime()),
              static_cast<double>(table.FieldByName("kezd_ido")->AsDateTime()));
    EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy.mm.dd.");

    // The user's settings come back when a load fails, too.
    EXPECT_THROW(loadFromText(loaded, csv, "kezd_ido\tsuly\r\n01/01/2000\tsok\r\n"), EConvertError);
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy.mm.dd.");
    EXPECT_FALSE(loaded.ControlsDisabled());
}

TEST(CsvNumberAndDateSettings, NodefKeepsTheUsersSettings)
{
    const HungarianUser user;
    TztrMemTable table;
    makeOccasionTable(table);
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    const std::string saved = saveToText(table, nodef);
    EXPECT_TRUE(saved.ends_with("\r\n2025.09.08. 07:45:00\t1234,5\r\n")) << saved;

    TztrMemTable loaded;
    makeOccasionTable(loaded);
    loadFromText(loaded, nodef, saved);
    loaded.Last();
    EXPECT_EQ(loaded.FieldByName("suly")->AsFloat(), 1234.5);
}

TEST(CsvSaving, DeltasAreRefusedBeforeAnythingIsWritten)
{
    TztrMemTable table;
    makeRoomTable(table);
    addExampleRooms(table);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    csv.SetsfDeltas({sfSaveDeltas});
    std::vector<int> progress;
    table.OnProgress = [&](TztrCustomMemTable &, int percentage, TztrProgressCode) {
        progress.push_back(percentage);
    };
    TStringStream out("kept");
    const std::string message = messageOf([&] { table.SaveToStreamViaFormat(out, &csv); });
    EXPECT_EQ(message, "A különbségeket csak bináris formában lehet kimenteni.");
    EXPECT_EQ(out.DataString(), "kept");
    EXPECT_TRUE(progress.empty());
    EXPECT_FALSE(table.ControlsDisabled());
}

TEST(CsvSaving, QuoteOnlyStringsLeavesNumbersBare)
{
    TztrMemTable table;
    makeRoomTable(table);
    addRoom(table, 3, "A \"3\"", std::nullopt, 40, "x");
    TztrCSVStreamFormat format;
    format.SetsfDef({});
    format.SetsfQuoteOnlyStrings({sfSaveQuoteOnlyStrings});
    format.SetCSVRecordDelimiter(';');
    EXPECT_EQ(saveToText(table, format),
              "\"terem_id\",\"terem_kod\",\"terem_hely\",\"terem_kapacitas\",\"terem_telephely\";\r\n"
              "3,\"A \"\"3\"\"\",,40,\"x\";\r\n");
}

TEST(CsvSaving, PlaceholdersKeepTheColumnsOfUnsavedFields)
{
    TztrMemTable table;
    makeRoomTable(table);
    table.FieldByName("terem_hely")->SetVisible(false);
    addExampleRooms(table);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    csv.SetsfNonVisible({});
    const std::string without = saveToText(table, csv);
    EXPECT_EQ(without.find("terem_hely"), std::string::npos);
    EXPECT_NE(without.find("\r\n111\tA-001\t120\tKelmendor\r\n"), std::string::npos) << without;

    csv.SetsfPlaceHolders({sfSavePlaceholders});
    const std::string with = saveToText(table, csv);
    EXPECT_NE(with.find("terem_hely=String,20,\"terem_hely\",\"\",20,INV,Data,\"\"\r\n"), std::string::npos);
    EXPECT_NE(with.find("\r\n111\tA-001\t\t120\tKelmendor\r\n"), std::string::npos) << with;
}

TEST(CsvSaving, FiltersAndRangesAreSavedWholeUnlessAskedAndRecordsGoInIndexOrder)
{
    TztrMemTable table;
    makeRoomTable(table);
    for (const int id : {2, 1, 4, 3})
        addRoom(table, id, "R" + std::to_string(id), std::nullopt, id, "x");
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    const auto lines = [&] {
        const std::string saved = saveToText(table, nodef);
        return std::count(saved.begin(), saved.end(), '\n');
    };
    EXPECT_NE(saveToText(table, nodef).find("\r\n2\tR2\t\t2\tx\r\n1\tR1"), std::string::npos);
    table.SetIndexName("terem_id");
    EXPECT_NE(saveToText(table, nodef).find("\r\n1\tR1\t\t1\tx\r\n2\tR2"), std::string::npos);

    table.OnFilterRecord = [](TDataSet &dataSet, bool &accept) {
        accept = dataSet.FieldByName("terem_id")->AsInteger() % 2 == 0;
    };
    table.SetFiltered(true);
    EXPECT_EQ(lines(), 5);
    EXPECT_TRUE(table.Filtered());
    EXPECT_EQ(table.RecordCount(), 2);
    nodef.SetsfFiltered({});
    EXPECT_EQ(lines(), 3);
    EXPECT_NE(saveToText(table, nodef).find("\r\n2\tR2\t"), std::string::npos);
    table.SetFiltered(false);

    table.SetRange(2, 3);
    ASSERT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(lines(), 5);
    EXPECT_TRUE(table.RangeActive());
    EXPECT_EQ(table.RecordCount(), 2);
    nodef.SetsfIgnoreRange({});
    EXPECT_EQ(lines(), 3);
}

TEST(CsvSaving, EventsMaySkipRecordsAndRewriteItems)
{
    TztrMemTable table;
    makeRoomTable(table);
    addExampleRooms(table);
    std::vector<int> fieldNumbers;
    table.OnSaveRecord = [](TztrCustomMemTable &t, bool &accept) {
        accept = t.FieldByName("terem_id")->AsInteger() != 111;
    };
    table.OnSaveField = [&](TztrCustomMemTable &, int fieldNo, TField &) { fieldNumbers.push_back(fieldNo); };
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    nodef.OnFormatSaveField = [](TztrCustomCSVStreamFormat &, TField &field, bool &isNull,
                                 std::string &data) {
        if (field.FieldName() == "terem_hely") {
            isNull = false;
            data = "?";
        }
    };
    EXPECT_TRUE(saveToText(table, nodef).ends_with("\r\n112\tA-002\t?\t\tKelmendor\r\n"));
    EXPECT_EQ(fieldNumbers, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(CsvLoading, CommentLinesAndLineHandlerShapeWhatIsRead)
{
    TztrMemTable table;
    makeRoomTable(table);
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    nodef.SetCommentChar('#');
    nodef.OnGetLine = [](TztrCustomCSVStreamFormat &, std::string &line, bool &eof) {
        // The line that ends the reading is still read.
        if (line == "3;C")
            eof = true;
        line = replaceAll(line, ";", "\t");
    };
    loadFromText(table, nodef, "# rooms\r\nterem_id;terem_kod\r\n1;A\r\n#2;B\r\n3;C\r\n4;D\r\n");
    const std::vector<std::vector<std::string>> expected = {{"1", "A", "null", "null", "null"},
                                                            {"3", "C", "null", "null", "null"}};
    EXPECT_EQ(contentsOf(table), expected);
}

TEST(CsvLoading, EventsMayRejectRecordsAndRewriteItems)
{
    TztrMemTable table;
    makeRoomTable(table);
    std::vector<std::string> loadedFields;
    table.OnLoadField = [&](TztrCustomMemTable &, int, TField &field) {
        loadedFields.push_back(field.FieldName());
    };
    table.OnLoadRecord = [](TztrCustomMemTable &t, bool &accept) {
        accept = t.FieldByName("terem_id")->AsInteger() != 112;
    };
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    csv.OnFormatLoadField = [](TztrCustomCSVStreamFormat &, TField &field, bool &isNull, std::string &data) {
        if (field.FieldName() == "terem_kod")
            data += "!";
        isNull = isNull && field.FieldName() != "terem_kapacitas";
        if (isNull)
            return;
        if (field.FieldName() == "terem_kapacitas" && data.empty())
            data = "0";
    };
    loadFromText(table, csv, ExampleRoomFile);
    const std::vector<std::vector<std::string>> expected = {
        {"111", "A-001!", "1. emelet\nbal sz\xE1rny", "120", "Kelmendor"}};
    EXPECT_EQ(contentsOf(table), expected);
    EXPECT_EQ(table.LoadedCount(), 1);
    EXPECT_EQ(loadedFields.size(), 10u);
}

TEST(CsvLoading, ColumnsOfFieldsTheFlagsExcludeAreReadAndIgnored)
{
    TztrMemTable table;
    makeRoomTable(table);
    table.FieldByName("terem_hely")->SetVisible(false);
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    nodef.SetsfNonVisible({sfSaveNonVisible});
    loadFromText(table, nodef, ExampleRoomFile);
    EXPECT_TRUE(table.FieldByName("terem_hely")->IsNull());
    EXPECT_EQ(table.FieldByName("terem_kapacitas")->AsInteger(), 120);
}

TEST(CsvDefinitionBlock, FileEndingWithTheBlockGivesAnOpenEmptyTable)
{
    TztrMemTable source;
    makeRoomTable(source);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    csv.SetsfNoHeader({sfSaveNoHeader, sfLoadNoHeader});
    const std::string saved = saveToText(source, csv);
    ASSERT_TRUE(saved.ends_with("@@TABLEDEF END@@\r\n"));

    TztrMemTable table;
    loadFromText(table, csv, saved);
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(table.FieldCount(), 5);
    EXPECT_EQ(table.RecordCount(), 0);
}

TEST(CsvLoading, LoadedKeysAreKeptAndNewRecordsNumberAfterTheLargest)
{
    TztrMemTable table;
    makeRoomTable(table);
    addRoom(table, 500, "Z", std::nullopt, std::nullopt, "x");
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    loadFromText(table, nodef, "terem_id\tterem_kod\r\n7\tA\r\n\t\r\n");
    table.Append();
    table.FieldByName("terem_kod")->SetAsString("new");
    table.Post();
    const std::vector<std::vector<std::string>> expected = {{"500", "Z", "null", "null", "x"},
                                                            {"7", "A", "null", "null", "null"},
                                                            {"null", "null", "null", "null", "null"},
                                                            {"501", "new", "null", "null", "null"}};
    EXPECT_EQ(contentsOf(table), expected);
}
