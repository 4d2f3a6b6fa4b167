#include "streams.h"

#include "exceptions.h"

#include <algorithm>
#include <cstring>

namespace classlib {

std::int64_t TStream::Position() {
    return Seek(0, soCurrent);
}

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int32_t count) {
    if (Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int32_t count) {
    if (Write(buffer, count) != count)
        throw EWriteError();
}

std::int32_t TCustomMemoryStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0 || position_ < 0 || position_ >= size_)
        return 0;
    const auto available = static_cast<std::int32_t>(size_ - position_);
    const std::int32_t moved = std::min(count, available);
    std::memcpy(buffer, memory_ + position_, moved);
    position_ += moved;
    return moved;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    switch (origin) {
    case soBeginning:
        position_ = offset;
        break;
    case soCurrent:
        position_ += offset;
        break;
    case soEnd:
        position_ = size_ + offset;
        break;
    }
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
    stream.WriteBuffer(memory_, size_);
}

void TCustomMemoryStream::SaveToFile(const std::string& fileName) {
    try {
        TFileStream file(fileName, fmCreate);
        SaveToStream(file);
    } catch (const EWriteError&) {
        // A partly written document would open as a corrupt one: leave no file rather than that.
        DeleteFileA(fileName.c_str());
        throw;
    }
}

void TCustomMemoryStream::SetPointer(const void* memory, std::int32_t size) {
    memory_ = static_cast<const std::byte*>(memory);
    size_ = size;
}

void TResourceRelease::operator()(HGLOBAL resource) const {
    UnlockResource(resource);
    FreeResource(resource);
}

TResourceStream::TResourceStream(HINSTANCE module, const std::string& name,
                                 const std::string& type) {
    HRSRC found = FindResourceA(module, name.c_str(), type.c_str());
    if (!found)
        throw EResNotFound(name);
    resource_.reset(LoadResource(module, found));
    if (!resource_)
        throw EResNotFound(name);
    SetPointer(LockResource(resource_.get()),
               static_cast<std::int32_t>(SizeofResource(module, found)));
}

std::int32_t TResourceStream::Write(const void*, std::int32_t) {
    throw EStreamError("Can't write to a read-only resource stream");
}

void TFileClose::operator()(HANDLE file) const {
    CloseHandle(file);
}

TFileStream::TFileStream(const std::string& fileName, TFileMode) {
    HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw EFCreateError(fileName);
    file_.reset(file);
}

std::int32_t TFileStream::Read(void* buffer, std::int32_t count) {
    DWORD moved = 0;
    return ReadFile(file_.get(), buffer, count, &moved, nullptr) ? moved : 0;
}

std::int32_t TFileStream::Write(const void* buffer, std::int32_t count) {
    DWORD moved = 0;
    return WriteFile(file_.get(), buffer, count, &moved, nullptr) ? moved : 0;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    static_assert(soBeginning == FILE_BEGIN && soCurrent == FILE_CURRENT && soEnd == FILE_END);
    return SetFilePointerEx(file_.get(), distance, &position, origin) ? position.QuadPart : -1;
}

} // namespace classlib
