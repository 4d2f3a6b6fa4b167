#include "zip_directory.h"

#include <cstdint>

namespace {

constexpr std::uint32_t EndRecordSignature = 0x06054b50;
constexpr std::uint32_t Zip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t Zip64EndRecordSignature = 0x06064b50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014b50;
constexpr std::uint64_t EndRecordSize = 22;
constexpr std::uint64_t Zip64LocatorSize = 20;
constexpr std::uint64_t Zip64EndRecordSize = 56;
constexpr std::uint64_t CentralHeaderSize = 46;
constexpr std::uint64_t MaxCommentSize = 0xFFFF;

struct CentralDirectory {
    std::uint64_t entryCount;
    std::uint64_t size;
    std::uint64_t offset;
};

// The end record is the last thing in the archive, followed only by its own comment; scanning
// back from the end, the first signature whose comment reaches exactly to the end is it.
std::uint64_t FindEndRecord(Bytes archive) {
    if (archive.size() < EndRecordSize)
        throw FormatError("too short to be a zip archive");
    const std::uint64_t last = archive.size() - EndRecordSize;
    const std::uint64_t first = last > MaxCommentSize ? last - MaxCommentSize : 0;
    for (std::uint64_t offset = last + 1; offset-- > first;) {
        if (ReadU32(archive, offset) == EndRecordSignature &&
            offset + EndRecordSize + ReadU16(archive, offset + 20) == archive.size())
            return offset;
    }
    throw FormatError("no zip end-of-central-directory record (truncated or not a zip archive)");
}

// Archives written with zip64 extensions keep the real figures in a second end record, which a
// locator just before the classic one points to.
CentralDirectory ReadZip64Directory(Bytes archive, std::uint64_t locatorOffset) {
    if (ReadU32(archive, locatorOffset + 4) != 0 || ReadU32(archive, locatorOffset + 16) > 1)
        throw FormatError("the zip archive spans several disks");
    const std::uint64_t recordOffset = ReadU64(archive, locatorOffset + 8);
    const Bytes record = Slice(archive, recordOffset, Zip64EndRecordSize,
                               "the zip64 end-of-central-directory record");
    if (ReadU32(record, 0) != Zip64EndRecordSignature)
        throw FormatError("the zip64 locator does not point to a zip64 end record");
    if (ReadU64(record, 24) != ReadU64(record, 32))
        throw FormatError("the zip archive spans several disks");
    return {ReadU64(record, 32), ReadU64(record, 40), ReadU64(record, 48)};
}

CentralDirectory ReadCentralDirectoryLocation(Bytes archive) {
    const std::uint64_t endOffset = FindEndRecord(archive);
    if (endOffset >= Zip64LocatorSize &&
        ReadU32(archive, endOffset - Zip64LocatorSize) == Zip64LocatorSignature)
        return ReadZip64Directory(archive, endOffset - Zip64LocatorSize);
    if (ReadU16(archive, endOffset + 4) != 0 || ReadU16(archive, endOffset + 6) != 0 ||
        ReadU16(archive, endOffset + 8) != ReadU16(archive, endOffset + 10))
        throw FormatError("the zip archive spans several disks");
    return {ReadU16(archive, endOffset + 10), ReadU32(archive, endOffset + 12),
            ReadU32(archive, endOffset + 16)};
}

} // namespace

std::vector<std::string> ZipEntryNames(Bytes archive) {
    const CentralDirectory location = ReadCentralDirectoryLocation(archive);
    const Bytes directory =
        Slice(archive, location.offset, location.size, "the zip central directory");
    std::vector<std::string> names;
    std::uint64_t offset = 0;
    for (std::uint64_t entry = 0; entry < location.entryCount; ++entry) {
        const std::string what = "zip central directory entry " + std::to_string(entry + 1);
        const Bytes header = Slice(directory, offset, CentralHeaderSize, what);
        if (ReadU32(header, 0) != CentralHeaderSignature)
            throw FormatError(what + " has no central file header signature");
        const std::uint64_t nameSize = ReadU16(header, 28);
        const std::uint64_t entrySize =
            CentralHeaderSize + nameSize + ReadU16(header, 30) + ReadU16(header, 32);
        const Bytes name =
            Slice(directory, offset, entrySize, what).subspan(CentralHeaderSize, nameSize);
        names.emplace_back(name.begin(), name.end());
        offset += entrySize;
    }
    return names;
}
