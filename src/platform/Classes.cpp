#include "platform/Classes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string systemReason(int error)
{
    return std::system_category().message(error);
}

std::string fileMessage(const char *what, const std::filesystem::path &fileName, int error)
{
    return std::string(what) + " \"" + fileName.string() + "\". " + systemReason(error);
}

std::int64_t checkedPosition(std::int64_t position)
{
    if (position < 0)
        throw EStreamError("Stream seek error");
    return position;
}

} // namespace

// ---- TStream ----

std::int64_t TStream::Size()
{
    const std::int64_t position = Seek(0, soFromCurrent);
    const std::int64_t size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

std::int64_t TStream::Position()
{
    return Seek(0, soFromCurrent);
}

void TStream::SetPosition(std::int64_t position)
{
    Seek(position, soFromBeginning);
}

void TStream::ReadBuffer(void *buffer, std::int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void *buffer, std::int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream &source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr std::int64_t chunkSize = 64 * 1024;
    std::vector<char> chunk(static_cast<std::size_t>(std::min(count, chunkSize)));
    for (std::int64_t left = count; left > 0;) {
        const std::int64_t step = std::min(left, chunkSize);
        source.ReadBuffer(chunk.data(), step);
        WriteBuffer(chunk.data(), step);
        left -= step;
    }
    return count;
}

// ---- TMemoryStream ----

std::int64_t TMemoryStream::Read(void *buffer, std::int64_t count)
{
    const std::int64_t available = std::max<std::int64_t>(Size() - position_, 0);
    const std::int64_t taken = std::clamp<std::int64_t>(count, 0, available);
    if (taken > 0)
        std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(taken));
    position_ += taken;
    return taken;
}

std::int64_t TMemoryStream::Write(const void *buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    // Writing past the end grows the stream; a gap left by a seek beyond the end reads as zeros.
    if (position_ + count > Size())
        data_.resize(static_cast<std::size_t>(position_ + count));
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const std::int64_t base = origin == soFromBeginning ? 0 : origin == soFromCurrent ? position_ : Size();
    position_ = checkedPosition(base + offset);
    return position_;
}

void TMemoryStream::SetSize(std::int64_t newSize)
{
    data_.resize(static_cast<std::size_t>(checkedPosition(newSize)));
    position_ = std::min(position_, newSize);
}

std::int64_t TMemoryStream::Size()
{
    return static_cast<std::int64_t>(data_.size());
}

void TMemoryStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream &source)
{
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    SetSize(size);
    source.ReadBuffer(data_.data(), size);
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream &destination)
{
    destination.WriteBuffer(data_.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::filesystem::path &fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::filesystem::path &fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TStringStream ----

TStringStream::TStringStream(std::string_view text)
{
    WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    SetPosition(0);
}

std::string TStringStream::DataString()
{
    return std::string(Memory(), static_cast<std::size_t>(Size()));
}

// ---- TFileStream ----

TFileStream::TFileStream(const std::filesystem::path &fileName, unsigned mode) : fileName_(fileName)
{
    const bool create = (mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create)
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    else if ((mode & 3) == fmOpenWrite)
        flags |= O_WRONLY;
    else if ((mode & 3) == fmOpenReadWrite)
        flags |= O_RDWR;
    else
        flags |= O_RDONLY;

    handle_ = ::open(fileName.c_str(), flags, 0666);
    int error = handle_ < 0 ? errno : 0;
    // The system opens a folder for reading without complaint; a file stream on it is useless.
    struct stat status
    {
    };
    if (error == 0 && ::fstat(handle_, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(handle_);
        handle_ = -1;
        error = EISDIR;
    }
    if (error == 0)
        return;
    if (create)
        throw EFCreateError(fileMessage("Cannot create file", fileName, error));
    throw EFOpenError(fileMessage("Cannot open file", fileName, error));
}

TFileStream::~TFileStream()
{
    ::close(handle_);
}

std::int64_t TFileStream::Read(void *buffer, std::int64_t count)
{
    auto *out = static_cast<char *>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(handle_, out + done, static_cast<std::size_t>(count - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw EReadError(fileMessage("Cannot read file", fileName_, errno));
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

std::int64_t TFileStream::Write(const void *buffer, std::int64_t count)
{
    const auto *in = static_cast<const char *>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(handle_, in + done, static_cast<std::size_t>(count - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            throw EWriteError(fileMessage("Cannot write file", fileName_, errno));
        done += put;
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == soFromBeginning ? SEEK_SET : origin == soFromCurrent ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(handle_, offset, whence);
    return checkedPosition(position);
}

void TFileStream::SetSize(std::int64_t newSize)
{
    if (::ftruncate(handle_, checkedPosition(newSize)) != 0)
        throw EWriteError(fileMessage("Cannot write file", fileName_, errno));
    if (Position() > newSize)
        SetPosition(newSize);
}

std::int64_t TFileStream::Size()
{
    struct stat status
    {
    };
    if (::fstat(handle_, &status) != 0)
        throw EReadError(fileMessage("Cannot read file", fileName_, errno));
    return status.st_size;
}

void TFileStream::Flush()
{
    if (::fsync(handle_) != 0)
        throw EWriteError(fileMessage("Cannot write file", fileName_, errno));
}
