#pragma once
// What the open-document tests observe outside the program: the working folder of the test
// prefix, the shell requests that the recorder logged, and another program holding a file open.
#include "controls.h"
#include "document_catalog.h"
#include "unique_handle.h"

#include <optional>
#include <string>
#include <vector>

// "c:\Nemtora\" and the entry's file name.
std::string FullPath(const TDocumentEntry& entry);

// The entry's document as the executable holds it.
std::string EmbeddedDocument(const TDocumentEntry& entry);

// The file's whole content; nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);

// The names of the files in c:\Nemtora, sorted.
std::vector<std::string> FilesInDocumentFolder();
bool DocumentFolderExists();
// Deletes every file in c:\Nemtora, read-only ones too.
void EmptyDocumentFolder();
// Empties c:\Nemtora and removes it, or removes a plain file of that name.
void RemoveDocumentFolder();

struct ShellRequest {
    std::string path;
    int show;
    bool operator==(const ShellRequest&) const = default;
};

// The log that the recorder registered for ".docx" and ".doc" appends to, named by
// %VALKESTA_SHELL_LOG%; empty when made.
class ShellRequestLog {
public:
    ShellRequestLog();
    // The requests logged since the log was made, in the order logged. Each call first makes a
    // request of its own (for a marker ".doc" file, left out of the result) and waits until it
    // arrives and every recorder has ended: an empty result then means that no request was made,
    // not that the recorder was slow or missing.
    std::vector<ShellRequest> Requests();

private:
    std::string path_;
    std::string marker_;
};

// Another process holding the file open, the way a word processor showing it does, from
// construction until destruction.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();

private:
    UniqueHandle process_;
    UniqueHandle input_;
};
