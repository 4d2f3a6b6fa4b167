#include "compound_file.h"

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint64_t HeaderSize = 512;
constexpr std::uint32_t HeaderAllocationEntries = 109;
constexpr std::uint32_t MaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t FreeSector = 0xFFFFFFFF;
constexpr std::uint32_t NoStream = 0xFFFFFFFF;
constexpr std::uint64_t DirectoryEntrySize = 128;
constexpr std::uint8_t StreamObject = 2;
constexpr std::uint8_t RootStorageObject = 5;

class CompoundFile {
public:
    explicit CompoundFile(Bytes file) : file_(file) {
        const Bytes header = Slice(file, 0, HeaderSize, "the compound file header");
        if (ReadU16(header, 0x1C) != 0xFFFE)
            throw FormatError("the compound file header has no little-endian byte order mark");
        const std::uint16_t majorVersion = ReadU16(header, 0x1A);
        const std::uint16_t sectorShift = ReadU16(header, 0x1E);
        if (!(majorVersion == 3 && sectorShift == 9) && !(majorVersion == 4 && sectorShift == 12))
            throw FormatError("unknown compound file version " + std::to_string(majorVersion) +
                              " with sector shift " + std::to_string(sectorShift));
        sectorSize_ = std::uint64_t{1} << sectorShift;
        if (file.size() < sectorSize_)
            throw FormatError("the compound file is shorter than its header sector");
        // The header occupies sector -1; sector n starts at (n + 1) * sector size.
        sectorCount_ = file.size() / sectorSize_ - 1;
        ReadAllocationTable(header);
        firstDirectorySector_ = ReadU32(header, 0x30);
    }

    std::vector<std::u16string> RootStreamNames() const {
        const std::vector<std::uint32_t> directory = Chain(firstDirectorySector_, "directory");
        const std::uint64_t entriesPerSector = sectorSize_ / DirectoryEntrySize;
        const std::uint64_t entryCount = directory.size() * entriesPerSector;
        auto entryAt = [&](std::uint64_t id) {
            return Sector(directory[id / entriesPerSector])
                .subspan((id % entriesPerSector) * DirectoryEntrySize, DirectoryEntrySize);
        };
        if (entryCount == 0 || entryAt(0)[0x42] != RootStorageObject)
            throw FormatError("the compound file directory has no root storage entry");

        // The root's children form a binary tree through their left and right sibling links.
        std::vector<std::u16string> names;
        std::vector<bool> visited(entryCount);
        std::vector<std::uint32_t> pending{ReadU32(entryAt(0), 0x4C)};
        while (!pending.empty()) {
            const std::uint32_t id = pending.back();
            pending.pop_back();
            if (id == NoStream)
                continue;
            if (id >= entryCount || visited[id])
                throw FormatError("the compound file directory tree is damaged at entry " +
                                  std::to_string(id));
            visited[id] = true;
            const Bytes entry = entryAt(id);
            if (entry[0x42] == StreamObject)
                names.push_back(EntryName(entry, id));
            pending.push_back(ReadU32(entry, 0x44));
            pending.push_back(ReadU32(entry, 0x48));
        }
        return names;
    }

private:
    Bytes Sector(std::uint32_t sector) const {
        return Slice(file_, (std::uint64_t{sector} + 1) * sectorSize_, sectorSize_,
                     "sector " + std::to_string(sector));
    }

    // The table is spread over sectors listed first in the header and then in a chain of
    // sectors of its own.
    void ReadAllocationTable(Bytes header) {
        const std::uint32_t tableSectorCount = ReadU32(header, 0x2C);
        const std::uint32_t extraListSectorCount = ReadU32(header, 0x48);
        if (tableSectorCount > sectorCount_ || extraListSectorCount > sectorCount_)
            throw FormatError("the compound file header claims more sectors than the file holds");
        std::vector<std::uint32_t> tableSectors;
        for (std::uint32_t i = 0; i < HeaderAllocationEntries && i < tableSectorCount; ++i)
            tableSectors.push_back(ReadU32(header, 0x4C + 4 * i));
        std::uint32_t listSector = ReadU32(header, 0x44);
        const std::uint64_t entriesPerListSector = sectorSize_ / 4 - 1;
        for (std::uint32_t i = 0;
             i < extraListSectorCount && tableSectors.size() < tableSectorCount; ++i) {
            const Bytes list = Sector(listSector);
            for (std::uint64_t j = 0;
                 j < entriesPerListSector && tableSectors.size() < tableSectorCount; ++j)
                tableSectors.push_back(ReadU32(list, 4 * j));
            listSector = ReadU32(list, 4 * entriesPerListSector);
        }
        if (tableSectors.size() != tableSectorCount)
            throw FormatError(
                "the compound file lists fewer allocation table sectors than it claims");

        for (const std::uint32_t tableSector : tableSectors) {
            const Bytes table = Sector(tableSector);
            for (std::uint64_t offset = 0; offset < sectorSize_; offset += 4)
                allocationTable_.push_back(ReadU32(table, offset));
        }
        // A sector in use that the file does not hold means the file was cut short.
        for (std::uint64_t sector = sectorCount_; sector < allocationTable_.size(); ++sector)
            if (allocationTable_[sector] != FreeSector)
                throw FormatError("sector " + std::to_string(sector) +
                                  " is in use but lies beyond the end of the file (truncated?)");
    }

    std::vector<std::uint32_t> Chain(std::uint32_t first, const std::string& what) const {
        std::vector<std::uint32_t> sectors;
        for (std::uint32_t sector = first; sector != EndOfChain;
             sector = allocationTable_[sector]) {
            if (sector > MaxRegularSector || sector >= allocationTable_.size() ||
                sectors.size() >= allocationTable_.size())
                throw FormatError("the compound file's " + what + " sector chain is damaged");
            sectors.push_back(sector);
        }
        return sectors;
    }

    static std::u16string EntryName(Bytes entry, std::uint32_t id) {
        const std::uint16_t nameBytes = ReadU16(entry, 0x40);
        if (nameBytes < 2 || nameBytes > 64 || nameBytes % 2 != 0)
            throw FormatError("compound file directory entry " + std::to_string(id) +
                              " has an invalid name length");
        std::u16string name;
        for (std::uint16_t offset = 0; offset + 2 < nameBytes; offset += 2)
            name.push_back(static_cast<char16_t>(ReadU16(entry, offset)));
        return name;
    }

    Bytes file_;
    std::uint64_t sectorSize_ = 0;
    std::uint64_t sectorCount_ = 0;
    std::vector<std::uint32_t> allocationTable_;
    std::uint32_t firstDirectorySector_ = EndOfChain;
};

} // namespace

std::vector<std::u16string> RootStreamNames(Bytes file) {
    return CompoundFile(file).RootStreamNames();
}
