#pragma once
// What Valkesta.exe carries: its size, the payload embedded in it (documents, the pictures of
// its layout, the icon), the DLLs it imports, and the cover picture as its layout holds it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// An executable mapped for reading its resources, not for running.
struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ResourceModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;
ResourceModule LoadResourceModule(const std::string& path);

// The JPEG of each picture record in the module's main window layout, where the mapping holds
// it. A record is the class name "TJPEGImage" with its length byte, a 4-byte length and the JPEG.
std::vector<std::span<const std::uint8_t>> LayoutPictures(HMODULE module);
inline constexpr std::size_t PictureRecordOverhead = 1 + 10 + 4;

struct ExecutableFacts {
    std::uint64_t fileBytes = 0;
    int documents = 0;
    std::uint64_t documentBytes = 0;
    int pictureRecords = 0;
    std::uint64_t pictureRecordBytes = 0;
    std::uint64_t iconBytes = 0;
    std::vector<std::string> imports;
    std::vector<std::string> nonSystemImports; // not found in the system directory
    std::vector<std::uint8_t> cover;           // the first picture's JPEG

    std::uint64_t PayloadBytes() const { return documentBytes + pictureRecordBytes + iconBytes; }
    std::uint64_t ProgramBytes() const { return fileBytes - PayloadBytes(); }
};

ExecutableFacts InspectExecutable(const std::string& path);
