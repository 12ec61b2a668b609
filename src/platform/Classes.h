#pragma once

// Byte streams in the shape the dataset framework and the engine's stream formats use: a common
// TStream with the Read/Write/Seek primitives and checked ReadBuffer/WriteBuffer, an in-memory
// stream and a file stream.

#include "platform/SysUtils.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class EReadError : public EStreamError
{
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError
{
public:
    using EStreamError::EStreamError;
};

class EFOpenError : public EStreamError
{
public:
    using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError
{
public:
    using EStreamError::EStreamError;
};

enum TSeekOrigin : int {
    soFromBeginning = 0,
    soFromCurrent = 1,
    soFromEnd = 2,
};

class TStream
{
public:
    virtual ~TStream() = default;

    // Transfer up to count bytes; return how many were transferred.
    virtual std::int64_t Read(void *buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void *buffer, std::int64_t count) = 0;
    // Returns the new position. A position before the start raises EStreamError.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(std::int64_t newSize) = 0;
    virtual std::int64_t Size();

    std::int64_t Position();
    void SetPosition(std::int64_t position);

    // Transfer exactly count bytes or raise EReadError / EWriteError.
    void ReadBuffer(void *buffer, std::int64_t count);
    void WriteBuffer(const void *buffer, std::int64_t count);

    // Copies count bytes from source's position on; a count of 0 copies the whole source from
    // its start. Returns the number of bytes copied.
    std::int64_t CopyFrom(TStream &source, std::int64_t count);

protected:
    TStream() = default;
    TStream(const TStream &) = default;
    TStream &operator=(const TStream &) = default;
};

class TMemoryStream : public TStream
{
public:
    TMemoryStream() = default;

    std::int64_t Read(void *buffer, std::int64_t count) override;
    std::int64_t Write(const void *buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;
    std::int64_t Size() override;

    char *Memory() { return data_.data(); }
    const char *Memory() const { return data_.data(); }

    void Clear();
    // The whole of source, from its start, replaces the contents; the position goes to 0.
    void LoadFromStream(TStream &source);
    // Writes the whole contents at destination's position.
    void SaveToStream(TStream &destination);
    void LoadFromFile(const std::filesystem::path &fileName);
    void SaveToFile(const std::filesystem::path &fileName);

private:
    std::vector<char> data_;
    std::int64_t position_ = 0;
};

// A memory stream over text, for building or inspecting stream contents as a string.
class TStringStream : public TMemoryStream
{
public:
    explicit TStringStream(std::string_view text = {});
    std::string DataString();
};

// Open modes; a share flag may be or-ed in and is accepted without effect.
inline constexpr unsigned fmCreate = 0xFF00;
inline constexpr unsigned fmOpenRead = 0x0000;
inline constexpr unsigned fmOpenWrite = 0x0001;
inline constexpr unsigned fmOpenReadWrite = 0x0002;
inline constexpr unsigned fmShareCompat = 0x0000;
inline constexpr unsigned fmShareExclusive = 0x0010;
inline constexpr unsigned fmShareDenyWrite = 0x0020;
inline constexpr unsigned fmShareDenyRead = 0x0030;
inline constexpr unsigned fmShareDenyNone = 0x0040;

// A binary file. Failures of the system say which file and why: opening raises EFOpenError,
// creating EFCreateError, and a read or write the system refuses raises EReadError/EWriteError
// rather than looking like the end of the file or a short write.
class TFileStream : public TStream
{
public:
    TFileStream(const std::filesystem::path &fileName, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream &) = delete;
    TFileStream &operator=(const TFileStream &) = delete;

    std::int64_t Read(void *buffer, std::int64_t count) override;
    std::int64_t Write(const void *buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;
    std::int64_t Size() override;

    // Waits until the written bytes are on the disk, so a save can replace a file safely.
    void Flush();

    const std::filesystem::path &FileName() const { return fileName_; }

private:
    std::filesystem::path fileName_;
    int handle_ = -1;
};
