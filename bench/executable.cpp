#include "executable.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::span<const std::uint8_t> ResourceBytes(HMODULE module, HRSRC resource) {
    const HGLOBAL loaded = LoadResource(module, resource);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (!bytes)
        throw std::runtime_error("cannot load a resource of the executable");
    return {bytes, SizeofResource(module, resource)};
}

// Every resource of one type: how many, and their bytes together.
struct ResourceTotal {
    HMODULE module;
    int count = 0;
    std::uint64_t bytes = 0;
};

BOOL CALLBACK AddResource(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR total) {
    auto& sum = *reinterpret_cast<ResourceTotal*>(total);
    ++sum.count;
    sum.bytes += SizeofResource(module, FindResourceA(module, name, type));
    return TRUE;
}

ResourceTotal TotalOf(HMODULE module, LPCSTR type) {
    ResourceTotal total{module};
    EnumResourceNamesA(module, type, AddResource, reinterpret_cast<LONG_PTR>(&total));
    return total;
}

// The PE headers and the import directory, read from the file as it lies on disk.
class PeFile {
public:
    explicit PeFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
        const auto& dos = At<IMAGE_DOS_HEADER>(0);
        if (dos.e_magic != IMAGE_DOS_SIGNATURE)
            throw std::runtime_error("not an executable");
        nt_ = &At<IMAGE_NT_HEADERS32>(dos.e_lfanew);
        if (nt_->Signature != IMAGE_NT_SIGNATURE)
            throw std::runtime_error("not a PE executable");
    }

    std::vector<std::string> ImportedDlls() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& directory =
            nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (std::size_t offset = OffsetOf(directory.VirtualAddress);;
             offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto& descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(offset);
            if (descriptor.Name == 0)
                return names;
            const std::size_t name = OffsetOf(descriptor.Name);
            names.emplace_back(
                reinterpret_cast<const char*>(&bytes_[name]),
                strnlen(reinterpret_cast<const char*>(&bytes_[name]), bytes_.size() - name));
        }
    }

private:
    template <class T> const T& At(std::size_t offset) const {
        if (offset + sizeof(T) > bytes_.size())
            throw std::runtime_error("a truncated executable");
        return *reinterpret_cast<const T*>(&bytes_[offset]);
    }

    std::size_t OffsetOf(DWORD rva) const {
        const auto* section = IMAGE_FIRST_SECTION(nt_);
        for (int i = 0; i < nt_->FileHeader.NumberOfSections; ++i, ++section)
            if (rva >= section->VirtualAddress &&
                rva < section->VirtualAddress + section->Misc.VirtualSize)
                return rva - section->VirtualAddress + section->PointerToRawData;
        throw std::runtime_error("an address outside the executable's sections");
    }

    std::vector<std::uint8_t> bytes_;
    const IMAGE_NT_HEADERS32* nt_;
};

bool InSystemDirectory(const std::string& dll) {
    char directory[MAX_PATH];
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("no system directory");
    return GetFileAttributesA((std::string(directory) + '\\' + dll).c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

} // namespace

ResourceModule LoadResourceModule(const std::string& path) {
    ResourceModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        throw std::runtime_error("cannot map " + path);
    return module;
}

std::vector<std::span<const std::uint8_t>> LayoutPictures(HMODULE module) {
    const HRSRC layoutResource = FindResourceA(module, "TFORM1", MAKEINTRESOURCEA(10)); // RCDATA
    if (!layoutResource)
        throw std::runtime_error("the executable has no main window layout");
    const std::span<const std::uint8_t> layout = ResourceBytes(module, layoutResource);
    constexpr std::uint8_t ClassName[] = "\x0ATJPEGImage";
    const std::span<const std::uint8_t> name(ClassName, sizeof ClassName - 1);

    std::vector<std::span<const std::uint8_t>> pictures;
    for (auto at = layout.begin();
         (at = std::search(at, layout.end(), name.begin(), name.end())) != layout.end();) {
        const std::size_t offset = (at - layout.begin()) + name.size();
        if (offset + 4 > layout.size())
            throw std::runtime_error("a truncated picture record");
        const std::uint32_t length = layout[offset] | layout[offset + 1] << 8 |
                                     layout[offset + 2] << 16 |
                                     std::uint32_t(layout[offset + 3]) << 24;
        if (offset + 4 + length > layout.size())
            throw std::runtime_error("a truncated picture record");
        pictures.push_back(layout.subspan(offset + 4, length));
        at = layout.begin() + offset + 4 + length;
    }
    return pictures;
}

ExecutableFacts InspectExecutable(const std::string& path) {
    ExecutableFacts facts;
    std::vector<std::uint8_t> file = ReadWholeFile(path);
    facts.fileBytes = file.size();
    for (const std::string& dll : PeFile(std::move(file)).ImportedDlls()) {
        facts.imports.push_back(dll);
        if (!InSystemDirectory(dll))
            facts.nonSystemImports.push_back(dll);
    }

    const ResourceModule module = LoadResourceModule(path);
    const ResourceTotal documents = TotalOf(module.get(), "FILE");
    facts.documents = documents.count;
    facts.documentBytes = documents.bytes;
    facts.iconBytes =
        TotalOf(module.get(), RT_ICON).bytes + TotalOf(module.get(), RT_GROUP_ICON).bytes;
    const auto pictures = LayoutPictures(module.get());
    facts.pictureRecords = int(pictures.size());
    for (const auto& picture : pictures)
        facts.pictureRecordBytes += PictureRecordOverhead + picture.size();
    if (!pictures.empty())
        facts.cover.assign(pictures.front().begin(), pictures.front().end());
    return facts;
}
