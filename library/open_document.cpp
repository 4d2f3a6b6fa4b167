#include "open_document.h"

#include "document_store.h"

#include <shellapi.h>

void EnsureDocumentFolder() {
    // Usually it is already there; a folder that cannot be made shows up when the document's
    // file cannot be created, so the outcome is not looked at here.
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
