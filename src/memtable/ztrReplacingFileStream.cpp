#include "memtable/ztrReplacingFileStream.h"

#include <cstdio>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string failedSaveText(const std::filesystem::path &fileName, const std::string &reason)
{
    return "Saving \"" + fileName.string() + "\" failed; the file was left as it was. " + reason;
}

} // namespace

TztrReplacingFileStream::TztrReplacingFileStream(const std::filesystem::path &fileName) : fileName_(fileName)
{
    // In the same folder, so that the move is a rename within one file system.
    newFileName_ = fileName;
    newFileName_ += "." + std::to_string(::getpid()) + ".new";
    try {
        file_ = std::make_unique<TFileStream>(newFileName_, fmCreate);
    } catch (const EStreamError &error) {
        raiseForTarget(error);
    }
}

TztrReplacingFileStream::~TztrReplacingFileStream()
{
    discard();
}

void TztrReplacingFileStream::discard() noexcept
{
    if (committed_)
        return;
    file_.reset();
    std::error_code ignored;
    std::filesystem::remove(newFileName_, ignored);
}

void TztrReplacingFileStream::raiseForTarget(const EStreamError &error) const
{
    const std::string text = failedSaveText(fileName_, error.Message());
    if (dynamic_cast<const EFCreateError *>(&error))
        throw EFCreateError(text);
    if (dynamic_cast<const EWriteError *>(&error))
        throw EWriteError(text);
    if (dynamic_cast<const EReadError *>(&error))
        throw EReadError(text);
    throw EStreamError(text);
}

std::int64_t TztrReplacingFileStream::Read(void *buffer, std::int64_t count)
{
    try {
        return file_->Read(buffer, count);
    } catch (const EStreamError &error) {
        raiseForTarget(error);
    }
}

std::int64_t TztrReplacingFileStream::Write(const void *buffer, std::int64_t count)
{
    try {
        return file_->Write(buffer, count);
    } catch (const EStreamError &error) {
        raiseForTarget(error);
    }
}

std::int64_t TztrReplacingFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    return file_->Seek(offset, origin);
}

void TztrReplacingFileStream::SetSize(std::int64_t newSize)
{
    try {
        file_->SetSize(newSize);
    } catch (const EStreamError &error) {
        raiseForTarget(error);
    }
}

std::int64_t TztrReplacingFileStream::Size()
{
    return file_->Size();
}

void TztrReplacingFileStream::CheckReplaceable(const std::filesystem::path &fileName)
{
    struct stat old {};
    if (::stat(fileName.c_str(), &old) != 0)
        return;
    // A file without any write permission is read-only even for a user whom the system would let
    // write it anyway.
    const bool readOnly = (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (readOnly || ::access(fileName.c_str(), W_OK) != 0)
        throw EFCreateError(failedSaveText(fileName, "The file is read-only or may not be written."));
}

void TztrReplacingFileStream::Finish()
{
    if (!file_)
        return;
    try {
        file_->Flush();
    } catch (const EStreamError &error) {
        raiseForTarget(error);
    }
    file_.reset();
    std::error_code error;
    // The replacement keeps the access rights the user gave the old file.
    const std::filesystem::file_status old = std::filesystem::status(fileName_, error);
    if (!error && std::filesystem::is_regular_file(old))
        std::filesystem::permissions(newFileName_, old.permissions(), error);
}

void TztrReplacingFileStream::Commit()
{
    Finish();
    try {
        CheckReplaceable(fileName_);
    } catch (...) {
        discard();
        throw;
    }
    std::error_code error;
    std::filesystem::rename(newFileName_, fileName_, error);
    if (error) {
        const std::string reason = std::system_category().message(error.value());
        std::filesystem::remove(newFileName_, error);
        throw EFCreateError(failedSaveText(fileName_, reason));
    }
    committed_ = true;
}
