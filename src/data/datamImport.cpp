// Master-data import from the files the Kastorel student information system writes into the
// program folder: curricula, subjects and their links, and course templates with their subjects.
// A run reads its whole batch before it changes anything, so a file with a missing column or an
// unreadable value is refused as it is.

#include "data/datam.h"

#include "data/Progress.h"
#include "data/datamFileCheck.h"

#include <filesystem>
#include <vector>

namespace {

using ImportResult = TDM::ImportResult;

// Rows one run handles; the rest waits for the next run.
constexpr std::size_t CurriculumBatch = 10000;
constexpr std::size_t TemplateBatch = 40000;

// Statuses the template import writes into a row's szervkod.
constexpr const char *RowImported = "Ok";
constexpr const char *LinkedSubjectMissing = "tkod hiba";
constexpr const char *TemplateSubjectMissing = "atkod hiba";

int idOf(const TDataSet &table, const char *fieldName) { return table.FieldByName(fieldName)->AsInteger(); }

// A key as the field stores it: a longer text is cut to the field's size there, and a locate with
// the uncut text would never find the row it appended, adding it again on every row and run.
std::string stored(const TDataSet &table, const char *fieldName, const std::string &text)
{
    const TField &field = *table.FieldByName(fieldName);
    const auto size = static_cast<std::size_t>(field.Size());
    return field.DataType() == ftString && text.size() > size ? text.substr(0, size) : text;
}

// Locates the row whose text fields hold the texts, each as its field stores it. An empty text is
// held as null once its file was read back (the files write both as nothing), while a row added
// in this run holds the empty text, so every mix of the two is tried for the empty parts.
bool locateTexts(TztrMemTable &table, std::initializer_list<std::pair<const char *, std::string>> key)
{
    std::string fieldNames;
    Variant::Array values;
    std::vector<std::size_t> empty;
    for (const auto &[fieldName, text] : key) {
        fieldNames += (fieldNames.empty() ? "" : ";") + std::string(fieldName);
        if (text.empty())
            empty.push_back(values.size());
        values.emplace_back(stored(table, fieldName, text));
    }
    for (std::size_t nulls = 0; nulls < std::size_t{1} << empty.size(); ++nulls) {
        Variant::Array tried = values;
        for (std::size_t i = 0; i < empty.size(); ++i)
            if ((nulls >> i & 1) != 0)
                tried[empty[i]] = Variant();
        if (table.Locate(fieldNames, tried.size() == 1 ? tried.front() : VarArrayOf(std::move(tried)), {}))
            return true;
    }
    return false;
}

void setText(TDataSet &table, const char *fieldName, const std::string &text)
{
    table.FieldByName(fieldName)->SetAsString(text);
}

void setInteger(TDataSet &table, const char *fieldName, int value)
{
    table.FieldByName(fieldName)->SetAsInteger(value);
}

// One import file: reading a batch of its rows, then adding what they bring. The frame around
// them (loading, progress, saving, messages) is the same for both files.
class ImportFile {
public:
    explicit ImportFile(TDM &dm) : dm_(dm) {}
    virtual ~ImportFile() = default;

    virtual const char *fileName() const = 0;
    virtual TztrMemTable &buffer() const = 0;
    virtual const char *caption() const = 0;
    virtual const char *completion() const = 0;
    // Reads the batch from the loaded buffer; raises for a missing column or a bad value.
    virtual void read() = 0;
    // Adds what the batch brings; true when a master table got a row.
    virtual bool apply(Progress &progress) = 0;

protected:
    TDM &dm_;
};

struct CurriculumRow {
    std::string curriculumCode;
    std::string curriculumName;
    std::string mode;
    std::string level;
    std::string language;
    std::string subjectCode;
    std::string subjectName;
    int lectures = 0;
    int practices = 0;
    int laboratories = 0;
    int credits = 0;
    std::string requirement;
    std::string intake;
};

class CurriculumImport : public ImportFile {
public:
    using ImportFile::ImportFile;

    const char *fileName() const override { return "kastorelboltargy.csv"; }
    TztrMemTable &buffer() const override { return dm_.MT_kastorelboltargy; }
    const char *caption() const override { return "Mintatantervek és tárgyak beolvasása"; }
    const char *completion() const override { return "Mintatantervek és a tárgyak beolvasása kész."; }

    void read() override
    {
        TDataSet &file = buffer();
        auto column = [&file](const char *name) -> const TField * { return file.FieldByName(name); };
        const TField *code = column("mintatanterv_kod"), *name = column("mintatanterv_nev"),
                     *mode = column("targy_tagozat"), *level = column("kepzesi_szint"),
                     *language = column("targy_nyelv"), *subjectCode = column("targy_kod"),
                     *subjectName = column("targy_nev"), *englishName = column("targy_nev_angolul"),
                     *credits = column("targy_kredit"), *requirement = column("targy_kovetelmeny"),
                     *intake = column("targy_felveteltipus");
        // Weekly lecture, practice and lab hours of full-time students, then of the others.
        const TField *fullTime[] = {column("targy_hea"), column("targy_hgy"), column("targy_hla")};
        const TField *partTime[] = {column("targy_eea"), column("targy_egy"), column("targy_ela")};

        for (file.First(); !file.Eof() && rows_.size() < CurriculumBatch; file.Next()) {
            CurriculumRow row;
            // Variants of one curriculum differ only after the "/".
            const std::string curriculumCode = code->AsString();
            row.curriculumCode = curriculumCode.substr(0, curriculumCode.find('/'));
            row.curriculumName = name->AsString();
            row.mode = mode->AsString();
            row.level = level->AsString();
            row.language = language->AsString();
            row.subjectCode = subjectCode->AsString();
            const bool english = row.language == "angol" && !englishName->AsString().empty();
            row.subjectName = english ? englishName->AsString() : subjectName->AsString();
            const TField *const *hours = row.mode == "Nappali" ? fullTime : partTime;
            row.lectures = hours[0]->AsInteger();
            row.practices = hours[1]->AsInteger();
            row.laboratories = hours[2]->AsInteger();
            row.credits = credits->AsInteger();
            row.requirement = requirement->AsString();
            row.intake = intake->AsString();
            rows_.push_back(std::move(row));
        }
    }

    bool apply(Progress &progress) override
    {
        // A filter a window left on would hide rows that exist and have them added again.
        for (TDataSet *table : {&dm_.MT_mintatanterv, &dm_.MT_mintatantervtargy, &dm_.MT_targy})
            table->SetFiltered(false);
        bool changed = false;
        for (const CurriculumRow &row : rows_) {
            progress.step();
            const int curriculumId = curriculum(row, changed);
            const int subjectId = subject(row, changed);
            link(curriculumId, subjectId, row.intake, changed);
            // The handled row leaves the file, so the next run starts with the first row not done.
            buffer().First();
            buffer().Delete();
        }
        return changed;
    }

private:
    int curriculum(const CurriculumRow &row, bool &changed)
    {
        TztrMemTable &table = dm_.MT_mintatanterv;
        if (!locateTexts(table, {{"mintatanterv_kod", row.curriculumCode}})) {
            table.Append();
            setText(table, "mintatanterv_kod", row.curriculumCode);
            setText(table, "mintatanterv_nev", row.curriculumName);
            setText(table, "tagozat", row.mode);
            setText(table, "tipus", row.level);
            setText(table, "nyelv", row.language);
            setInteger(table, "szabad", 0);
            table.Post();
            changed = true;
        }
        return idOf(table, "mintatanterv_id");
    }

    int subject(const CurriculumRow &row, bool &changed)
    {
        TztrMemTable &table = dm_.MT_targy;
        if (!locateTexts(table, {{"targy_kod", row.subjectCode}})) {
            table.Append();
            setText(table, "targy_nev", row.subjectName);
            setText(table, "targy_kod", row.subjectCode);
            setInteger(table, "targy_ea", row.lectures);
            setInteger(table, "targy_gy", row.practices);
            setInteger(table, "targy_la", row.laboratories);
            setInteger(table, "targy_kredit", row.credits);
            setText(table, "targy_teljesites", row.requirement);
            setInteger(table, "tanszek_id", -1);
            setInteger(table, "szabad", 1);
            setInteger(table, "evjarat", 0);
            table.Post();
            changed = true;
        }
        return idOf(table, "targy_id");
    }

    void link(int curriculumId, int subjectId, const std::string &intake, bool &changed)
    {
        TztrMemTable &table = dm_.MT_mintatantervtargy;
        if (table.Locate("mintatanterv_id;targy_id", VarArrayOf({curriculumId, subjectId}), {}))
            return;
        table.Append();
        setInteger(table, "mintatanterv_id", curriculumId);
        setInteger(table, "targy_id", subjectId);
        table.FieldByName("targy_felveteltipus")->SetAsString(intake);
        table.Post();
        changed = true;
    }

    std::vector<CurriculumRow> rows_;
};

struct TemplateRow {
    std::string code;
    std::string semester;
    std::string subjectCode;
    std::string linkedSubjectCode;
    std::string type;
    std::string timetableNote;
};

class TemplateImport : public ImportFile {
public:
    using ImportFile::ImportFile;

    const char *fileName() const override { return "kastorelbolkurzus.csv"; }
    TztrMemTable &buffer() const override { return dm_.MT_kastorelbolkurzus; }
    const char *caption() const override { return "Kurzus minták beolvasása"; }
    const char *completion() const override { return "Minta kurzusok és kapcsolódó tárgyak beolvasása kész."; }

    void read() override
    {
        TDataSet &file = buffer();
        const TField *code = file.FieldByName("kurzuskod"), *type = file.FieldByName("kurzustipus"),
                     *semester = file.FieldByName("felev"), *subjectCode = file.FieldByName("atargykod"),
                     *linkedSubjectCode = file.FieldByName("targykod"), *note = file.FieldByName("orarendinfo");
        status_ = file.FieldByName("szervkod");
        statusCode_ = file.FieldByName("szervkod2");

        // The rows stay in the file with their status, so a run goes on from the first row not
        // marked yet; once every row is marked, a run marks them all again from the top.
        firstRow_ = 0;
        for (file.First(); !file.Eof() && isStatus(status_->AsString()); file.Next())
            ++firstRow_;
        if (file.Eof())
            firstRow_ = 0;

        file.First();
        file.MoveBy(firstRow_);
        for (; !file.Eof() && rows_.size() < TemplateBatch; file.Next()) {
            TemplateRow row;
            row.code = code->AsString();
            row.semester = semester->AsString();
            row.subjectCode = subjectCode->AsString();
            row.linkedSubjectCode = linkedSubjectCode->AsString();
            row.type = templateType(type->AsString());
            row.timetableNote = note->AsString();
            rows_.push_back(std::move(row));
        }
    }

    bool apply(Progress &progress) override
    {
        for (TDataSet *table : {&dm_.MT_targy, &dm_.MT_kurzusminta, &dm_.MT_kurzusmintatargy})
            table->SetFiltered(false);
        // Every row is marked before anything is added: a status column the file cannot fill (a
        // number, a read-only or a unique one) then fails the run with the master data as it was.
        TDataSet &file = buffer();
        file.First();
        file.MoveBy(firstRow_);
        for (const TemplateRow &row : rows_) {
            mark(row);
            file.Next();
        }
        bool changed = false;
        TztrMemTable &subjects = dm_.MT_targy;
        for (const TemplateRow &row : rows_) {
            progress.step();
            const int templateId = findOrAddTemplate(row, changed);
            if (templateId >= 0 && locateTexts(subjects, {{"targy_kod", row.linkedSubjectCode}}))
                link(templateId, idOf(subjects, "targy_id"), changed);
        }
        return changed;
    }

private:
    static bool isStatus(const std::string &text)
    {
        return text == RowImported || text == LinkedSubjectMissing || text == TemplateSubjectMissing;
    }

    // The file spells the types of lectures, practices and labs its own way.
    static std::string templateType(const std::string &text)
    {
        const std::string type = text.substr(0, 2);
        if (type == "El")
            return "EA";
        if (type == "Gy")
            return "GY";
        if (type == "La")
            return "LA";
        return type;
    }

    bool locateTemplate(const TemplateRow &row)
    {
        return locateTexts(dm_.MT_kurzusminta, {{"kurzusminta_kod", row.code},
                                                {"felev", row.semester},
                                                {"atargykod", row.subjectCode},
                                                {"kurzusminta_tipus", row.type}});
    }

    // The current row's status: what adding the row will find, looked up before anything is added.
    void mark(const TemplateRow &row)
    {
        TztrMemTable &subjects = dm_.MT_targy;
        const bool hasTemplate = locateTemplate(row) || locateTexts(subjects, {{"targy_kod", row.subjectCode}});
        const bool linked = hasTemplate && locateTexts(subjects, {{"targy_kod", row.linkedSubjectCode}});
        TDataSet &file = buffer();
        file.Edit();
        if (linked) {
            status_->SetAsString(RowImported);
        } else if (hasTemplate) {
            status_->SetAsString(LinkedSubjectMissing);
            statusCode_->SetAsString(row.linkedSubjectCode);
        } else {
            status_->SetAsString(TemplateSubjectMissing);
            statusCode_->SetAsString(row.subjectCode);
        }
        file.Post();
    }

    // The template of the row, found or made; -1 when its subject is unknown.
    int findOrAddTemplate(const TemplateRow &row, bool &changed)
    {
        TztrMemTable &templates = dm_.MT_kurzusminta;
        if (locateTemplate(row))
            return idOf(templates, "kurzusminta_id");
        TztrMemTable &subjects = dm_.MT_targy;
        if (!locateTexts(subjects, {{"targy_kod", row.subjectCode}}))
            return -1;
        templates.Append();
        setText(templates, "atargykod", row.subjectCode);
        setText(templates, "kurzusminta_kod", row.code);
        setInteger(templates, "targy_id", idOf(subjects, "targy_id"));
        setText(templates, "kurzusminta_tipus", row.type);
        setText(templates, "felev", row.semester);
        setText(templates, "orarendiinfo", row.timetableNote);
        templates.Post();
        changed = true;
        return idOf(templates, "kurzusminta_id");
    }

    void link(int templateId, int subjectId, bool &changed)
    {
        TztrMemTable &table = dm_.MT_kurzusmintatargy;
        if (table.Locate("kurzusminta_id;targy_id", VarArrayOf({templateId, subjectId}), {}))
            return;
        table.Append();
        setInteger(table, "kurzusminta_id", templateId);
        setInteger(table, "targy_id", subjectId);
        table.Post();
        changed = true;
    }

    TField *status_ = nullptr;
    TField *statusCode_ = nullptr;
    int firstRow_ = 0;
    std::vector<TemplateRow> rows_;
};

std::string named(const ImportFile &import) { return std::string("A(z) ") + import.fileName(); }

ImportResult importLoaded(TDM &dm, Progress &progress, ImportFile &import, const std::string &path)
{
    TztrMemTable &buffer = import.buffer();
    const auto refused = [&import](const std::string &reason) -> ImportResult {
        return {false, named(import) + " importfájl nem olvasható be, semmi sem változott.\n" + reason};
    };
    try {
        buffer.LoadFromFile(path);
        // The file is written back after the run, so a column it would lose refuses it now.
        if (const std::string problem = LoadedFileProblem(buffer, {}, import.fileName()); !problem.empty())
            return refused(problem);
        import.read();
    } catch (const std::exception &error) {
        return refused(error.what());
    }

    progress.start(buffer.RecordCount(), import.caption());
    bool changed = false;
    try {
        changed = import.apply(progress);
    } catch (const std::exception &error) {
        progress.finish();
        return {false, named(import) + " beolvasása megszakadt, az importfájl változatlan maradt.\n" + error.what()};
    }
    progress.finish();

    // The master data goes first: written back without it, the file would have lost rows that
    // were never saved anywhere.
    if (changed) {
        try {
            dm.TorzsadatMentes();
        } catch (const std::exception &error) {
            return {false, std::string(error.what()) + "\nAz importfájl változatlan maradt."};
        }
    }
    try {
        buffer.SaveToFile(path);
    } catch (const std::exception &error) {
        return {false, named(import) + " importfájl visszaírása nem sikerült.\n" + error.what()};
    }
    return {true, import.completion()};
}

ImportResult runImport(TDM &dm, Progress &progress, ImportFile &import)
{
    dm.MappaFrissites();
    const std::string path = dm.Mappa + import.fileName();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {false, named(import) + " importfájl nem található a program mappájában."};
    import.buffer().Close();
    ImportResult result = importLoaded(dm, progress, import, path);
    import.buffer().Close();
    return result;
}

} // namespace

TDM::ImportResult TDM::MintatantervBeolvasas()
{
    CurriculumImport import(*this);
    return runImport(*this, currentProgress(), import);
}

TDM::ImportResult TDM::KurzusmintaBeolvasas()
{
    TemplateImport import(*this);
    return runImport(*this, currentProgress(), import);
}
