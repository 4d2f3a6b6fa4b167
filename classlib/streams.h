#pragma once
// The class library's streams, as far as the document library uses them: a read-only memory
// stream over an embedded resource, and a file stream that the resource is saved through.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

namespace classlib {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    // Each returns how many bytes it moved, which may be fewer than asked.
    virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
    virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
    // Returns the new position, or -1 when the stream cannot move there.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position();
    std::int64_t Size();

    // All or nothing: fewer bytes than asked raise EReadError / EWriteError.
    void ReadBuffer(void* buffer, std::int32_t count);
    void WriteBuffer(const void* buffer, std::int32_t count);
};

// A stream over memory that belongs to someone else; it never copies or frees it.
class TCustomMemoryStream : public TStream {
public:
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

    const void* Memory() const { return memory_; }
    // The whole memory, whatever the position.
    void SaveToStream(TStream& stream);
    void SaveToFile(const std::string& fileName);

protected:
    void SetPointer(const void* memory, std::int32_t size);

private:
    const std::byte* memory_ = nullptr;
    std::int32_t size_ = 0;
    std::int64_t position_ = 0;
};

struct TResourceRelease {
    void operator()(HGLOBAL resource) const;
};
using TResourceHandle = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, TResourceRelease>;

// A read-only stream over one resource of a loaded module, in place.
class TResourceStream : public TCustomMemoryStream {
public:
    // Raises EResNotFound when the module has no such resource.
    TResourceStream(HINSTANCE module, const std::string& name, const std::string& type);
    std::int32_t Write(const void* buffer, std::int32_t count) override;

private:
    TResourceHandle resource_;
};

enum TFileMode { fmCreate };

struct TFileClose {
    void operator()(HANDLE file) const;
};
using TFileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, TFileClose>;

class TFileStream : public TStream {
public:
    // fmCreate makes the file or empties an existing one, open to nobody else while this
    // stream lives. Raises EFCreateError when that is refused.
    TFileStream(const std::string& fileName, TFileMode mode);

    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

private:
    TFileHandle file_;
};

} // namespace classlib
