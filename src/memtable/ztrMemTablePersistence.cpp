#include "memtable/ztrMemTablePersistence.h"

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "memtable/ztrReplacingFileStream.h"
#include "memtable/ztrStreamFormat.h"
#include "platform/Classes.h"

#include <system_error>

namespace {

TztrCustomStreamFormat &checkedFormat(TztrCustomStreamFormat *format)
{
    if (!format)
        throw EMemTableError(SNoFormatSpecified);
    return *format;
}

std::filesystem::path withExtension(const std::filesystem::path &fileName, const std::string &extension)
{
    std::filesystem::path result = fileName;
    return result.replace_extension(extension);
}

} // namespace

TztrCustomMemTable &TztrMemTablePersistence::table()
{
    return static_cast<TztrCustomMemTable &>(*this);
}

void TztrMemTablePersistence::setFormat(TztrCustomStreamFormat *&slot, TztrCustomStreamFormat *format)
{
    // The link stays while another slot may hold the old format; it is dropped with the table.
    if (format)
        format->FreeNotification(&table());
    slot = format;
}

void TztrMemTablePersistence::forgetFormat(const TComponent *format)
{
    for (TztrCustomStreamFormat **slot :
         {&defaultFormat_, &commaTextFormat_, &persistentFormat_, &allDataFormat_, &formFormat_}) {
        if (*slot && static_cast<const TComponent *>(*slot) == format)
            *slot = nullptr;
    }
}

std::string TztrMemTablePersistence::saveToText(TztrCustomStreamFormat *format)
{
    TStringStream stream;
    SaveToStreamViaFormat(stream, format);
    return stream.DataString();
}

void TztrMemTablePersistence::loadFromText(const std::string &text, TztrCustomStreamFormat *format)
{
    TStringStream stream(text);
    LoadFromStream(stream, format);
}

std::string TztrMemTablePersistence::CommaText()
{
    return saveToText(commaTextFormat_);
}

void TztrMemTablePersistence::SetCommaText(const std::string &text)
{
    loadFromText(text, commaTextFormat_);
}

std::string TztrMemTablePersistence::AllData()
{
    return saveToText(allDataFormat_);
}

void TztrMemTablePersistence::SetAllData(const std::string &data)
{
    loadFromText(data, allDataFormat_);
}

void TztrMemTablePersistence::SaveToFile(const std::filesystem::path &fileName)
{
    SaveToFileViaFormat(fileName, defaultFormat_);
}

void TztrMemTablePersistence::SaveToFileViaFormat(const std::filesystem::path &fileName,
                                                  TztrCustomStreamFormat *format)
{
    table().CheckActive();
    checkedFormat(format);
    if (format->sfAppend().Contains(sfSaveAppend) && std::filesystem::exists(fileName)) {
        TFileStream file(fileName, fmOpenReadWrite | fmShareDenyWrite);
        file.Seek(0, soFromEnd);
        try {
            if (OnSave)
                OnSave(table(), mtstFile, file);
            SaveToStreamViaFormat(file, format);
        } catch (const EStreamError &) {
            throw;
        } catch (...) {
            rethrowWithContext(" (while appending to \"" + fileName.string() + "\")");
        }
        return;
    }
    TztrReplacingFileStream file(fileName);
    try {
        if (OnSave)
            OnSave(table(), mtstFile, file);
        SaveToStreamViaFormat(file, format);
        file.Commit();
    } catch (const EStreamError &) {
        // The replacing stream's own failures name the file already.
        throw;
    } catch (...) {
        rethrowWithContext(" (\"" + fileName.string() + "\" was not saved; the file was left as it was)");
    }
}

void TztrMemTablePersistence::SaveToStreamViaFormat(TStream &stream, TztrCustomStreamFormat *format)
{
    checkedFormat(format).runSave(table(), stream);
}

void TztrMemTablePersistence::LoadFromFile(const std::filesystem::path &fileName)
{
    LoadFromFileViaFormat(fileName, defaultFormat_);
}

void TztrMemTablePersistence::LoadFromFileViaFormat(const std::filesystem::path &fileName,
                                                    TztrCustomStreamFormat *format)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    if (OnLoad)
        OnLoad(table(), mtstFile, file);
    LoadFromStreamViaFormat(file, format);
}

void TztrMemTablePersistence::LoadFromStreamViaFormat(TStream &stream, TztrCustomStreamFormat *format)
{
    checkedFormat(format).runLoad(table(), stream);
}

void TztrMemTablePersistence::LoadFromStream(TStream &stream, TztrCustomStreamFormat *format)
{
    if (OnLoad)
        OnLoad(table(), mtstStream, stream);
    LoadFromStreamViaFormat(stream, format);
}

void TztrMemTablePersistence::PersistentLoadOnOpen()
{
    savedSinceOpen_ = false;
    if (!persistent_ || persistentFile_.empty() || !std::filesystem::exists(persistentFile_))
        return;
    persistent_ = false;
    try {
        LoadFromFileViaFormat(persistentFile_, persistentFormat_);
        table().First();
    } catch (...) {
        persistent_ = true;
        throw;
    }
    persistent_ = true;
}

void TztrMemTablePersistence::PersistentSaveOnClose()
{
    if (!persistent_ || savedSinceOpen_ || !table().Active() || persistentFile_.empty() || !persistentFormat_)
        return;
    const std::filesystem::path fileName = persistentFile_;
    const std::filesystem::path newFile = withExtension(fileName, ".$$$");
    SaveToFileViaFormat(newFile, persistentFormat_);
    std::error_code ignored;
    if (persistentBackup_) {
        const std::filesystem::path backup = withExtension(fileName, persistentBackupExt_);
        std::filesystem::remove(backup, ignored);
        std::filesystem::rename(fileName, backup, ignored);
    } else {
        std::filesystem::remove(fileName, ignored);
    }
    std::error_code error;
    std::filesystem::rename(newFile, fileName, error);
    if (error)
        throw EFCreateError("Cannot create file \"" + fileName.string() + "\". " +
                            std::system_category().message(error.value()));
    savedSinceOpen_ = true;
}
