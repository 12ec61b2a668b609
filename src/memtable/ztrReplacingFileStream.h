#pragma once

// A file stream for a save that replaces a file: the bytes go to a new file in the same folder,
// which is moved over the old one only when everything was written and is on the disk. A save
// that fails on the way leaves the old file exactly as it was.

#include "platform/Classes.h"

#include <filesystem>
#include <memory>

class TztrReplacingFileStream : public TStream
{
public:
    // Raises the stream error of the failure (naming fileName) when the new file cannot be made.
    explicit TztrReplacingFileStream(const std::filesystem::path &fileName);
    // Without Commit the new file is removed and the old one stays.
    ~TztrReplacingFileStream() override;
    TztrReplacingFileStream(const TztrReplacingFileStream &) = delete;
    TztrReplacingFileStream &operator=(const TztrReplacingFileStream &) = delete;

    std::int64_t Read(void *buffer, std::int64_t count) override;
    std::int64_t Write(const void *buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;
    std::int64_t Size() override;

    // Puts the new file on the disk and closes it, with the old file's access rights; nothing
    // is replaced yet. A set of files is finished one by one and then replaced together.
    void Finish();
    // Finishes the new file and moves it over the old one. An old file the user may not write
    // (read-only) is refused and kept.
    void Commit();
    // Raises EFCreateError naming fileName when an existing fileName may not be written.
    static void CheckReplaceable(const std::filesystem::path &fileName);

    const std::filesystem::path &FileName() const { return fileName_; }
    // Where the bytes go until the commit: fileName followed by ".<process id>.new".
    const std::filesystem::path &NewFileName() const { return newFileName_; }

private:
    [[noreturn]] void raiseForTarget(const EStreamError &error) const;
    void discard() noexcept;

    std::filesystem::path fileName_;
    std::filesystem::path newFileName_;
    std::unique_ptr<TFileStream> file_;
    bool committed_ = false;
};
