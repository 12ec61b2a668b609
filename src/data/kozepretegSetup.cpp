// Setting up the copy database: its tables are made from the memory tables as the program holds
// them, so the columns the data files bring along are there too.

#include "data/datam.h"
#include "data/kozepreteg.h"
#include "platform/Cp1250.h"

namespace {

std::string columnType(const TField &field, const std::string &tableName)
{
    switch (field.DataType()) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
        return "varchar(" + std::to_string(field.Size()) + ")";
    case ftMemo:
    case ftFmtMemo:
        return "text";
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc:
        return "integer";
    case ftLargeint:
        return "bigint";
    case ftBoolean:
        return "bit";
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return "double";
    case ftDate:
        return "date";
    case ftTime:
        return "time";
    case ftDateTime:
    case ftTimeStamp:
        return "timestamp";
    default:
        throw EDatabaseError("A(z) " + tableName + " tábla " + cp1250ToUtf8(field.FieldName()) +
                             " mezőjének típusa nem tárolható az adatbázisban.");
    }
}

} // namespace

void TDMK::createCopyDatabase(const std::string &connectionString)
{
    if (!providerRead_.empty() && providerRead_ != connectionString)
        throw EDatabaseError("A(z) " + providerFileName() + " már egy másik adatbázist nevez meg (" +
                             cp1250ToUtf8(providerRead_) + "); nem változott semmi.");
    Conn.Close();
    Conn.SetConnectionString(connectionString);
    Conn.Open();
    createTables();
    writeProviderFile(connectionString);
    Provider = connectionString;
    providerRead_ = connectionString;
    providerProblem_.clear();
}

void TDMK::createTables()
{
    Conn.BeginTrans();
    try {
        for (const TMasolas &copy : Masolasok()) {
            const std::string name = copy.destination.TableName();
            std::string columns;
            for (const auto &field : copy.source.Fields()) {
                // Calculated and lookup fields are display texts; the copy leaves them out.
                if (field->FieldKind() != fkData)
                    continue;
                columns += (columns.empty() ? "" : ", ") + Conn.QuoteName(field->FieldName()) + " " +
                           columnType(*field, cp1250ToUtf8(name));
            }
            Conn.Execute("create table " + Conn.QuoteName(name) + " (" + columns + ")");
        }
        Conn.CommitTrans();
    } catch (...) {
        try {
            Conn.RollbackTrans();
        } catch (const std::exception &) {
            // The statement's own failure is the one worth telling.
        }
        throw;
    }
}

void TDMK::writeProviderFile(const std::string &connectionString)
{
    TztrMemTable &file = dm_.MT_provider;
    file.Open();
    file.EmptyTable();
    file.Append();
    file.FieldByName("provider")->SetAsString(connectionString);
    file.Post();
    file.SaveToFile(providerFileName());
}
