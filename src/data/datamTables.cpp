// The design-time layout of the data module: formats, tables with their fields, sizes and
// settings, and the views over the main tables. The data files may bring their own field lists;
// these are what a table has when its file is missing.

#include "data/datam.h"

#include <span>

namespace {

struct FieldSpec {
    const char *name;
    TFieldType type;
    int size = 0;
};

// A text field named without a size holds 20 characters.
constexpr int DefaultTextSize = 20;

TField &addField(TDataSet &table, const FieldSpec &column, TFieldKind kind = fkData)
{
    std::unique_ptr<TField> field = CreateFieldOfType(column.type);
    field->SetFieldName(column.name);
    if (column.type == ftString)
        field->SetSize(column.size > 0 ? column.size : DefaultTextSize);
    field->SetFieldKind(kind);
    return *table.Fields().Add(std::move(field));
}

void addFields(TDataSet &table, std::span<const FieldSpec> columns)
{
    for (const FieldSpec &column : columns)
        addField(table, column);
}

// Field order is the record layout and the column order of the data files.
constexpr FieldSpec OrarendFields[] = {
    {"orarend_id", ftAutoInc}, {"megnevezes", ftString, 50}, {"megjegyzes", ftString, 100},
    {"szak_id", ftInteger},    {"hetek", ftString, 15},      {"teszt", ftInteger},
};

constexpr FieldSpec AlkalomFields[] = {
    {"alkalom_id", ftAutoInc}, {"kurzus_id", ftInteger},  {"terem_id", ftInteger}, {"kezd_ido", ftDateTime},
    {"veg_ido", ftDateTime},   {"gyakorisag", ftInteger}, {"hetek", ftString, 50},
};

constexpr FieldSpec OktatoFields[] = {
    {"oktato_id", ftAutoInc}, {"oktato_kkod", ftString, 20}, {"oktato_nev", ftString, 60},
};

constexpr FieldSpec TeremFields[] = {
    {"terem_id", ftAutoInc},       {"terem_kod", ftString, 40},       {"terem_hely", ftString, 20},
    {"terem_kapacitas", ftInteger}, {"terem_telephely", ftString, 50},
};

constexpr FieldSpec TargyFields[] = {
    {"targy_id", ftAutoInc},     {"targy_nev", ftString, 100}, {"targy_kod", ftString, 50},
    {"targy_ea", ftInteger},     {"targy_gy", ftInteger},      {"targy_la", ftInteger},
    {"targy_kredit", ftInteger}, {"targy_teljesites", ftString, 50}, {"tanszek_id", ftInteger},
    {"szabad", ftInteger},       {"evjarat", ftInteger},
};

constexpr FieldSpec MintatantervFields[] = {
    {"mintatanterv_id", ftAutoInc}, {"mintatanterv_kod", ftString, 20}, {"mintatanterv_nev", ftString, 50},
    {"tagozat", ftString, 1},       {"tipus", ftString, 30},            {"nyelv", ftString, 10},
    {"szabad", ftInteger},
};

constexpr FieldSpec KurzusmintaFields[] = {
    {"kurzusminta_id", ftAutoInc}, {"kurzusminta_kod", ftString, 50}, {"kurzusminta_tipus", ftString, 2},
    {"targy_id", ftInteger},       {"felev", ftString, 50},           {"orarendiinfo", ftString, 100},
    {"atargykod", ftString, 20},
};

// kurzus_id_csatolt comes last, so the course search view can leave it out.
constexpr FieldSpec KurzusFields[] = {
    {"kurzus_id", ftAutoInc},         {"targy_id", ftInteger},        {"kurzus_kod_osszetett", ftString, 50},
    {"kurzus_kod", ftString, 50},     {"kurzus_tipus", ftString, 2},  {"kurzus_sorszam", ftString, 2},
    {"max_letszam", ftInteger},       {"megjegyzes", ftString, 100},  {"megnevezes", ftString, 100},
    {"kurzusminta_id", ftInteger},    {"kurzus_id_csatolt", ftInteger},
};

constexpr FieldSpec KurzusorarendFields[] = {{"orarend_id", ftInteger}, {"kurzus_id", ftInteger}};
constexpr FieldSpec KurzusoktatoFields[] = {
    {"kurzus_id", ftInteger}, {"oktato_id", ftInteger}, {"szazalek", ftInteger}};
constexpr FieldSpec KurzusalkalomFields[] = {{"kurzus_id", ftInteger}, {"alkalom_id", ftInteger}};
// How the subject is taken in the curriculum, as wide as the links' files hold it.
constexpr FieldSpec IntakeField = {"targy_felveteltipus", ftString, 50};
constexpr FieldSpec MintatantervtargyFields[] = {{"mintatanterv_id", ftInteger}, {"targy_id", ftInteger}, IntakeField};
// These three take their fields from their files; the fields the program uses keep them usable
// when the files are missing.
constexpr FieldSpec KurzustargyFields[] = {{"kurzus_id", ftInteger}, {"targy_id", ftInteger}};
constexpr FieldSpec KurzusmintatargyFields[] = {{"kurzusminta_id", ftInteger}, {"targy_id", ftInteger}};
constexpr FieldSpec KurzusmintaoktatoFields[] = {{"kurzusminta_id", ftInteger}, {"oktato_id", ftInteger}};

constexpr FieldSpec KastorelbolkurzusFields[] = {
    {"kurzuskod", ftString, 50},  {"kurzustipus", ftString, 10}, {"felev", ftString},
    {"atargykod", ftString},      {"atargynev", ftString, 100},
};
constexpr FieldSpec KastorelbolkurzusTailFields[] = {
    {"szervkod", ftString},     {"szervnev", ftString, 100},        {"szervkod2", ftString},
    {"targykod", ftString},     {"targynev", ftString, 100},        {"targynev_angol", ftString, 100},
    {"orarendinfo", ftString, 100},
};

struct LabelledFieldSpec {
    FieldSpec field;
    const char *label;
};

// The occasion-and-week columns of the export, headed by the labels the student information
// system reads.
constexpr LabelledFieldSpec ExportAlkalomFields[] = {
    {{"K_orarendkod", ftString, 50}, "ORARKOD"},
    {{"K_orarendnev", ftString, 50}, "ORARNEV"},
    {{"K_tagozat", ftString, 20}, "TAGOZAT"},
    {{"K_felev", ftString, 20}, "FELEV"},
    {{"K_orarendkezdet", ftString, 20}, "ORARKEZDETE"},
    {{"K_orarendveg", ftString, 20}, "ORARVEGE"},
    {{"K_csengetesirend", ftString, 50}, "CSENGETESIREND"},
    {{"K_oracsoportkod", ftString, 50}, "ORATKOD"},
    {{"K_oracsoportnev", ftString, 50}, "ORATNEV"},
    {{"K_orahossza", ftInteger}, "AKTORAHOSSZA"},
    {{"K_hetek", ftString, 50}, "HETEK"},
    {{"K_nap", ftInteger}, "NAP"},
    {{"K_oraeleje", ftString, 10}, "ORAELEJE"},
    {{"K_oravege", ftString, 10}, "ORAVEGE"},
    {{"K_targy_kurzus", ftString, 200}, "TARGY_KURZUS"},
    {{"K_teremkod", ftString, 20}, "TEREM"},
    {{"K_oktato", ftString, 50}, "OKTATO"},
    {{"K_teremutkozhet", ftString, 1}, "TEREMUTKOZHET"},
    {{"K_oktatoutkozhet", ftString, 1}, "OKTATOUTKOZHET"},
    {{"K_kurzusoktatoit_azorakhoz", ftString, 1}, "KURZUSOKTATOIT_AZORAKHOZ"},
    {{"K_hetirendszeres", ftString, 1}, "HETIRENDSZERES"},
};

constexpr FieldSpec ExportCourseFields[] = {
    {"K_helyzet", ftString},         {"K_targykod", ftString},        {"K_felev", ftString},
    {"K_kurzustkod", ftString},      {"K_kurzuskod", ftString},       {"K_maxletszam", ftInteger},
    {"K_nyelv", ftString},           {"K_kurzustipus", ftString},     {"K_hetioraszam", ftInteger},
    {"K_felevesoraszam", ftInteger}, {"K_tipusazonosito", ftString},  {"K_oktatokastorelkod", ftString},
    {"K_oktatoszazalek", ftInteger}, {"K_oktatotipus", ftString},     {"megjegyzes", ftString, 50},
};

void addExportAlkalomFields(TDataSet &table, bool inCourseExport)
{
    for (const LabelledFieldSpec &column : ExportAlkalomFields) {
        FieldSpec field = column.field;
        // The course export already has a K_felev of its own.
        if (inCourseExport && std::string_view(field.name) == "K_felev")
            field.name = "K_felev2";
        addField(table, field).SetDisplayLabel(column.label);
    }
}

} // namespace

void TDM::setUpFormats()
{
    for (TztrCSVStreamFormat *format : {&CSV, &CSV_Nodef}) {
        format->SetCSVFieldDelimiter('\t');
        format->SetCSVQuote('\0');
        format->SetCSVRecordDelimiter('\0');
        format->SetEscapeChar('%');
        format->SetCommentChar('\0');
        format->SetCSVTrueString("True");
        format->SetCSVFalseString("False");
        format->SetDefaultStringFieldSize(255);
        format->SetsfCalculated({});
        format->SetsfLookup({});
        format->SetsfFieldKind({sfSaveFieldKind});
    }
    CSV.SetsfDef({sfSaveDef, sfLoadDef});
    CSV.SetsfLocalFormat({});
    // Files meant for other programs: no definition block, the machine's number and date form.
    CSV_Nodef.SetsfDef({});
    CSV_Nodef.SetsfLocalFormat({sfSaveLocalFormat, sfLoadLocalFormat});
}

void TDM::setUpTables()
{
    struct Settings {
        TztrMemTable &table;
        const char *name;
        int attachMaxCount;
        int autoIncMinValue;
    };
    const Settings settings[] = {
        {MT_orarend, "MT_orarend", 10, 111},
        {MT_alkalom, "MT_alkalom", 13, 333},
        {MT_oktato, "MT_oktato", 11, 111},
        {MT_terem, "MT_terem", 10, 0},
        {MT_targy, "MT_targy", 4, 111},
        {MT_mintatanterv, "MT_mintatanterv", 111, 111},
        {MT_kurzusminta, "MT_kurzusminta", 4, 0},
        {MT_kurzus, "MT_kurzus", 8, 222},
        {MT_kurzusorarend, "MT_kurzusorarend", 3, 0},
        {MT_kurzusoktato, "MT_kurzusoktato", 10, 0},
        {MT_kurzusalkalom, "MT_kurzusalkalom", 3, 0},
        {MT_mintatantervtargy, "MT_mintatantervtargy", 3, 0},
        {MT_kurzustargy, "MT_kurzustargy", 3, 0},
        {MT_kurzusmintatargy, "MT_kurzusmintatargy", 4, 0},
        {MT_kurzusmintaoktato, "MT_kurzusmintaoktato", 2, 0},
        {MT_kastorelboltargy, "MT_kastorelboltargy", 1, 0},
        {MT_kastorelbolkurzus, "MT_kastorelbolkurzus", 1, 0},
        {MT_provider, "MT_provider", 1, 0},
        {MT_export, "MT_export", 1, 0},
        {MT_export_alkalom, "MT_export_alkalom", 1, 0},
    };
    for (const Settings &s : settings) {
        s.table.SetName(s.name);
        s.table.SetAttachMaxCount(s.attachMaxCount);
        s.table.SetAutoIncMinValue(s.autoIncMinValue);
        // User's default locale for text order.
        s.table.SetLocaleID(1024);
        s.table.SetSubLanguageID(1);
        s.table.SetDefaultFormat(&CSV);
    }
    for (TztrMemTable *table : {&MT_provider, &MT_export, &MT_export_alkalom})
        table->SetDefaultFormat(&CSV_Nodef);

    addFields(MT_orarend, OrarendFields);
    addFields(MT_alkalom, AlkalomFields);
    addOccasionTextFields(MT_alkalom);
    MT_alkalom.BeforeOpen = [this](TDataSet &table) { addOccasionTextFields(table); };
    addFields(MT_oktato, OktatoFields);
    addFields(MT_terem, TeremFields);
    addFields(MT_targy, TargyFields);
    addFields(MT_mintatanterv, MintatantervFields);
    addFields(MT_kurzusminta, KurzusmintaFields);
    addFields(MT_kurzus, KurzusFields);
    addFields(MT_kurzusorarend, KurzusorarendFields);
    addFields(MT_kurzusoktato, KurzusoktatoFields);
    addFields(MT_kurzusalkalom, KurzusalkalomFields);
    addFields(MT_mintatantervtargy, MintatantervtargyFields);
    // Link files saved without the column still load, and their next save writes it.
    MT_mintatantervtargy.BeforeOpen = [](TDataSet &table) {
        if (!table.FindField(IntakeField.name))
            addField(table, IntakeField);
    };
    addFields(MT_kurzustargy, KurzustargyFields);
    addFields(MT_kurzusmintatargy, KurzusmintatargyFields);
    addFields(MT_kurzusmintaoktato, KurzusmintaoktatoFields);

    addFields(MT_kastorelbolkurzus, KastorelbolkurzusFields);
    addField(MT_kastorelbolkurzus, {"atargynev_angol", ftString, 100}, fkCalculated);
    addFields(MT_kastorelbolkurzus, KastorelbolkurzusTailFields);
    addField(MT_provider, {"provider", ftString, 500});
    addFields(MT_export, ExportCourseFields);
    addExportAlkalomFields(MT_export, true);
    addExportAlkalomFields(MT_export_alkalom, false);

    MT_alkalom.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_kurzusmintatargy.IndexDefs().Add("kurzusminta_id", "kurzusminta_id", {});
    MT_kurzusmintatargy.IndexDefs().Add("targy_id", "targy_id", {});
    MT_kurzusmintaoktato.IndexDefs().Add("kurzusminta_id", "kurzusminta_id", {});
    MT_kurzusmintaoktato.IndexDefs().Add("oktato_id", "oktato_id", {});
    MT_mintatantervtargy.SetIndexFieldNames("mintatanterv_id");
}

// The occasion tables carry three display columns whose texts come from the handlers. A data
// file's definition block replaces a table's fields, so the owner puts them back before each open.
void TDM::addOccasionTextFields(TDataSet &table)
{
    using Handler = void (TDM::*)(TField &, std::string &, bool);
    const struct {
        const char *name;
        Handler handler;
    } texts[] = {
        {"gyaknev", &TDM::MT_alkalomgyaknevGetText},
        {"kiiras", &TDM::KiirasGetText},
        {"nap", &TDM::MT_alkalomnapGetText},
    };
    for (const auto &text : texts) {
        if (table.FindField(text.name) != nullptr)
            continue;
        TField &field = addField(table, {text.name, ftString}, fkCalculated);
        field.OnGetText = [this, handler = text.handler](TField &sender, std::string &value, bool displayText) {
            (this->*handler)(sender, value, displayText);
        };
        // The room text is composed, never typed in.
        field.SetReadOnly(std::string_view(text.name) == "kiiras");
    }
}

void TDM::setUpViews()
{
    const struct {
        TztrMemTable &view;
        const char *name;
        TztrMemTable &table;
    } views[] = {
        {MT_terem_locate, "MT_terem_locate", MT_terem},
        {MT_terem_alkalomhoz, "MT_terem_alkalomhoz", MT_terem},
        {MT_kurzus_kereso, "MT_kurzus_kereso", MT_kurzus},
        {MT_kurzus_csatolt, "MT_kurzus_csatolt", MT_kurzus},
        {MT_alkalom_kurzus, "MT_alkalom_kurzus", MT_alkalom},
        {MT_alkalom_kurzus2, "MT_alkalom_kurzus2", MT_alkalom},
    };
    for (const auto &v : views) {
        v.view.SetName(v.name);
        v.view.SetDefaultFormat(&CSV);
    }

    addFields(MT_terem_locate, TeremFields);
    addFields(MT_terem_alkalomhoz, TeremFields);
    MT_terem_alkalomhoz.IndexDefs().Add("terem_id", "terem_id", {});
    MT_terem_alkalomhoz.SetIndexName("terem_id");

    // The search view does without the linked-course column.
    addFields(MT_kurzus_kereso, std::span(KurzusFields).first(std::size(KurzusFields) - 1));

    addFields(MT_kurzus_csatolt, KurzusFields);
    MT_kurzus_csatolt.IndexDefs().Add("kurzus_id", "kurzus_id", {});
    MT_kurzus_csatolt.IndexDefs().Add("kurzus_id_csatolt", "kurzus_id_csatolt", {});

    for (TztrMemTable *view : {&MT_alkalom_kurzus, &MT_alkalom_kurzus2}) {
        addFields(*view, AlkalomFields);
        addOccasionTextFields(*view);
        view->IndexDefs().Add("Index1", "kurzus_id", {});
    }

    for (const auto &v : views)
        v.view.SetAttachedTo(&v.table);

    // Courses linked to the current course, and the occasions of the current course.
    MT_kurzus_csatolt.SetMasterSource(&DS_kurzus);
    MT_kurzus_csatolt.SetMasterFields("kurzus_id");
    MT_kurzus_csatolt.SetIndexFieldNames("kurzus_id_csatolt");
    for (TztrMemTable *view : {&MT_alkalom_kurzus, &MT_alkalom_kurzus2}) {
        view->SetMasterSource(&DS_kurzus);
        view->SetMasterFields("kurzus_id");
        view->SetIndexFieldNames("kurzus_id");
    }
}
