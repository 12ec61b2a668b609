#include "data/kozepreteg.h"

#include "data/Progress.h"
#include "data/datam.h"
#include "platform/Cp1250.h"

#include <unicode/utf8.h>

TDMK *DMK = nullptr;

namespace {

class NoProgress : public Progress {
public:
    void start(int, const std::string &) override {}
    void setCaption(const std::string &) override {}
    void step() override {}
    void finish() override {}
};

// Walks every row of a table the windows share and leaves it as it was found: a window's filter
// must not leave rows out of the copy, and the window must not find itself on another row.
class WholeTableWalk {
public:
    explicit WholeTableWalk(TDataSet &table) : table_(table), filtered_(table.Filtered())
    {
        table_.DisableControls();
        bookmark_ = table_.GetBookmark();
        if (filtered_)
            table_.SetFiltered(false);
    }
    ~WholeTableWalk()
    {
        if (filtered_)
            table_.SetFiltered(true);
        if (!bookmark_.empty() && table_.BookmarkValid(bookmark_))
            table_.GotoBookmark(bookmark_);
        table_.EnableControls();
    }
    WholeTableWalk(const WholeTableWalk &) = delete;
    WholeTableWalk &operator=(const WholeTableWalk &) = delete;

private:
    TDataSet &table_;
    bool filtered_;
    TBookmark bookmark_;
};

// Text saved as UTF-8 where cp1250 was expected: every byte above ASCII belongs to a well-formed
// UTF-8 sequence, and there is at least one such sequence.
bool looksLikeUtf8(const std::string &text)
{
    const auto *bytes = reinterpret_cast<const uint8_t *>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    bool multiByte = false;
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            return false;
        multiByte = multiByte || i - start > 1;
    }
    return multiByte;
}

} // namespace

TDMK::TDMK() : TDMK(*DM) {}

TDMK::TDMK(TDM &dm) : dm_(dm)
{
    Conn.SetConnectionString("Driver={Microsoft Access Driver (*.mdb)};Dbq=brelvix_database.mdb;");
    Conn.SetLoginPrompt(false);
    const struct {
        TADOTable &table;
        const char *name;
    } tables[] = {
        {terem, "terem"},
        {oktato, "oktato"},
        {targy, "targy"},
        {mintatanterv, "mintatanterv"},
        {mintatantervtargy, "mintatantervtargy"},
        {kurzusminta, "kurzusminta"},
        {kurzusmintatargy, "kurzusmintatargy"},
        {kurzusmintaoktato, "kurzusmintaoktato"},
        {orarend, "orarend"},
        {kurzus, "kurzus"},
        {alkalom, "alkalom"},
        {kurzusalkalom, "kurzusalkalom"},
        {kurzusoktato, "kurzusoktato"},
        {kurzusorarend, "kurzusorarend"},
        {kurzustargy, "kurzustargy"},
    };
    for (const auto &t : tables) {
        t.table.SetName(t.name);
        t.table.SetTableName(t.name);
        t.table.SetConnection(&Conn);
    }
    DataModuleCreate();
}

void TDMK::DataModuleCreate()
{
    Provider.clear();
    providerRead_.clear();
    providerProblem_.clear();
    try {
        TztrMemTable &file = dm_.MT_provider;
        file.Open();
        file.LoadFromFile(providerFileName());
        file.First();
        providerRead_ = file.FieldByName("provider")->AsString();
    } catch (const std::exception &error) {
        providerProblem_ = std::string("A fájl nem olvasható: ") + error.what();
    }
    if (providerProblem_.empty() && providerRead_.empty())
        providerProblem_ = "A fájlban nincs kapcsolati szöveg: első sora a \"provider\" fejléc, "
                           "a második a kapcsolati szöveg (cp1250 kódolással).";
    if (!providerProblem_.empty())
        return;
    try {
        Conn.Close();
        Conn.SetConnectionString(providerRead_);
        Conn.Open();
        Provider = providerRead_;
    } catch (const std::exception &) {
        // The database is needed only for the administrator's copy; the program starts without it.
        // The copy window tells why when it is opened.
    }
}

std::string TDMK::ConnectionReport(const std::string &driverText) const
{
    std::string report = "Kapcsolati fájl: " + providerFileName();
    if (!providerProblem_.empty())
        report += "\n" + providerProblem_;
    else
        report += "\nBeolvasott kapcsolati szöveg: " + cp1250ToUtf8(providerRead_);
    if (looksLikeUtf8(providerRead_))
        report += "\nA fájl UTF-8 kódolásúnak látszik; a kapcsolati szöveget cp1250 kódolással kell menteni.";
    report += "\nAz adatbázis-illesztő válasza: " + driverText;
    return report;
}

std::string TDMK::providerFileName() const
{
    return dm_.Mappa + "provider.csv";
}

void TDMK::SetProgress(Progress *progress)
{
    progress_ = progress;
}

std::vector<TADOTable *> TDMK::Tablak()
{
    return {&terem,   &oktato,  &targy,         &mintatanterv, &mintatantervtargy,
            &kurzusminta, &kurzusmintatargy, &kurzusmintaoktato, &orarend, &kurzus,
            &alkalom, &kurzusalkalom, &kurzusoktato, &kurzusorarend, &kurzustargy};
}

void TDMK::Urites()
{
    for (const char *table : {"kurzusmintaoktato", "kurzusmintatargy", "kurzusminta", "mintatantervtargy",
                              "mintatanterv", "kurzustargy", "kurzusorarend", "kurzusoktato", "kurzusalkalom",
                              "orarend", "kurzus", "alkalom", "terem", "targy", "oktato"})
        Conn.Execute(std::string("delete from ") + table);
}

std::vector<TDMK::TMasolas> TDMK::Masolasok()
{
    return {{dm_.MT_terem, terem},
            {dm_.MT_oktato, oktato},
            {dm_.MT_targy, targy},
            {dm_.MT_mintatanterv, mintatanterv},
            {dm_.MT_mintatantervtargy, mintatantervtargy},
            {dm_.MT_kurzusminta, kurzusminta},
            {dm_.MT_kurzusmintatargy, kurzusmintatargy},
            {dm_.MT_kurzusmintaoktato, kurzusmintaoktato},
            {dm_.MT_orarend, orarend},
            {dm_.MT_kurzus, kurzus},
            {dm_.MT_alkalom, alkalom},
            {dm_.MT_kurzusalkalom, kurzusalkalom},
            {dm_.MT_kurzusoktato, kurzusoktato},
            {dm_.MT_kurzusorarend, kurzusorarend},
            {dm_.MT_kurzustargy, kurzustargy}};
}

int TDMK::TablaMasolas(TztrMemTable &source, TADOTable &destination, int rowLimit)
{
    const std::string name = cp1250ToUtf8(destination.TableName());
    try {
        if (!destination.Active())
            destination.Open();
    } catch (const std::exception &error) {
        throw ECopyError("A(z) " + name + " tábla nem nyitható meg, a másolás megszakadt.\n" + error.what(), name, 0);
    }

    NoProgress noProgress;
    Progress &progress = progress_ != nullptr ? *progress_ : noProgress;
    WholeTableWalk walk(source);
    progress.start(source.RecordCount(), "Másolás: " + name);
    int written = 0;
    for (source.First(); !source.Eof() && written < rowLimit; source.Next()) {
        progress.step();
        try {
            Conn.BeginTrans();
            RekordMasolas(source, destination);
            Conn.CommitTrans();
        } catch (const std::exception &error) {
            destination.Cancel();
            if (Conn.InTransaction()) {
                try {
                    Conn.RollbackTrans();
                } catch (const std::exception &) {
                    // The row's own failure is the one worth reporting; a connection that broke
                    // cannot roll back either.
                }
            }
            progress.finish();
            throw ECopyError("A(z) " + name + " tábla másolása a(z) " + std::to_string(written + 1) +
                                 ". sornál megszakadt; az előtte lévő " + std::to_string(written) +
                                 " sor bekerült az adatbázisba.\n" + error.what(),
                             name, written + 1);
        }
        ++written;
    }
    progress.finish();
    destination.Refresh();
    return written;
}

void TDMK::RekordMasolas(TDataSet &source, TADOTable &destination)
{
    // Calculated and lookup fields are the tables' display texts; the database has no columns
    // for them.
    std::vector<std::pair<const TField *, Variant>> values;
    for (const auto &field : source.Fields())
        if (field->FieldKind() == fkData)
            values.emplace_back(field.get(), field->AsVariant());
    destination.Append();
    for (const auto &[field, value] : values)
        destination.FieldByName(field->FieldName())->SetAsVariant(value);
    destination.Post();
}
