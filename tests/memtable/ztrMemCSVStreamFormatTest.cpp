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
