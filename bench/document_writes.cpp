#include "document_writes.h"

#include "document_store.h"
#include "open_document.h"
#include "unique_handle.h"

#include <shellapi.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

void WriteWithSystemCalls(const std::string& path, const void* bytes, DWORD size) {
    const UniqueHandle file =
        OwnFileHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes, size, &written, nullptr) || written != size)
        throw std::runtime_error("cannot write " + path);
}

// The open action's file work; returns the file's full path.
std::string ExtractEmbedded(const TDocumentEntry& entry) {
    return ExtractDocument(*LoadDocumentStream(entry.ResourceName), entry.FileName);
}

bool FileHolds(const std::string& path, const void* bytes, DWORD size) {
    const UniqueHandle file = OwnFileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                        nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<char> content(size + 1);
    DWORD read = 0;
    return file && ReadFile(file.get(), content.data(), size + 1, &read, nullptr) && read == size &&
           std::memcmp(content.data(), bytes, size) == 0;
}

bool ApplicationRegisteredFor(const std::string& path) {
    char application[MAX_PATH] = {};
    return reinterpret_cast<INT_PTR>(FindExecutableA(path.c_str(), nullptr, application)) > 32;
}

} // namespace

DocumentWrites TimeDocumentWrites(const TDocumentEntry& entry, int batches, int writesPerBatch) {
    EnsureDocumentFolder();
    const std::string path = ExtractEmbedded(entry);
    const auto document = LoadDocumentStream(entry.ResourceName);
    const auto size = static_cast<DWORD>(document->Size());
    DocumentWrites result;
    result.documentBytes = size;
    result.batchMs = RunSideBySide<double>(
        batches,
        [&] {
            const Stopwatch watch;
            for (int i = 0; i < writesPerBatch; ++i)
                ExtractEmbedded(entry);
            return watch.ElapsedMs();
        },
        [&] {
            const Stopwatch watch;
            for (int i = 0; i < writesPerBatch; ++i)
                WriteWithSystemCalls(path, document->Memory(), size);
            return watch.ElapsedMs();
        });
    ExtractEmbedded(entry);
    result.fileMatches = FileHolds(path, document->Memory(), size);
    return result;
}

RepeatedOpens OpenRepeatedly(const TDocumentEntry& entry, int opens) {
    EnsureDocumentFolder();
    RepeatedOpens result;
    result.throughShell = !ApplicationRegisteredFor(ExtractEmbedded(entry));
    classlib::TWinControl owner(nullptr); // no parent: a hidden top-level window
    const auto open = [&] {
        if (result.throughShell)
            OpenDocument(entry, owner);
        else
            ExtractEmbedded(entry);
    };
    // What the first opens make once (the owner's window, the shell's own state) stays for the
    // life of the process and is not a leak.
    constexpr int WarmUpOpens = 10;
    for (int i = 0; i < WarmUpOpens; ++i)
        open();
    result.before = CountHandles();
    for (int i = 0; i < opens; ++i)
        open();
    result.after = CountHandles();
    return result;
}
