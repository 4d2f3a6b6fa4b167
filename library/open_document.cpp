#include "open_document.h"

#include "document_store.h"

#include <shellapi.h>

void EnsureDocumentFolder() {
    // An existing folder, or one that cannot be made, shows up as a failure to create the
    // file later; there is nothing to report here.
    CreateDirectoryA(DocumentFolder, nullptr);
}

std::string ExtractDocument(classlib::TCustomMemoryStream& stream, const std::string& fileName) {
    std::string path = std::string(DocumentFolder) + '\\' + fileName;
    stream.SaveToFile(path);
    return path;
}

void OpenDocument(const TDocumentEntry& entry, classlib::TWinControl& owner) {
    EnsureDocumentFolder();
    const auto stream = LoadDocumentStream(entry.ResourceName);
    const std::string path = ExtractDocument(*stream, entry.FileName);
    // The shell reports its own failures, such as a file type with no application.
    ShellExecuteA(owner.Handle(), nullptr, path.c_str(), nullptr, nullptr, SW_RESTORE);
}
