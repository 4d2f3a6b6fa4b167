#pragma once
// The files that a button press should leave in c:\Nemtora: byte for byte the committed
// documents that the program embeds.
#include "open_document_harness.h"
#include "valkesta_process.h"

#include <algorithm>
#include <string>
#include <vector>

struct DocumentButton {
    const char* caption;  // Windows-1251
    const char* fileName; // as written into c:\Nemtora, Windows-1251
    const char* source;   // the committed document under resources/documents

    std::string Path() const { return std::string("c:\\Nemtora\\") + fileName; }
};

inline std::string CommittedDocument(const DocumentButton& button) {
    return ReadWholeFile(WindowsPath(std::string(DOCUMENTS_DIR) + '/' + button.source))
        .value_or("(missing)");
}

// Whether the button's file comes to hold its whole document (it is written while we look).
inline bool WaitForWrittenDocument(const DocumentButton& button) {
    const std::string expected = CommittedDocument(button);
    return WaitUntil([&] { return ReadWholeFile(button.Path()) == expected; });
}

// The shell requests that pressing these buttons makes, in the order of their paths: each
// recorder logs when it gets to it.
inline std::vector<ShellRequest> OpenRequests(const std::vector<DocumentButton>& buttons) {
    std::vector<ShellRequest> requests;
    for (const DocumentButton& button : buttons)
        requests.push_back({button.Path(), SW_RESTORE});
    return requests;
}
inline std::vector<ShellRequest> SortedByPath(std::vector<ShellRequest> requests) {
    std::sort(requests.begin(), requests.end(),
              [](const ShellRequest& a, const ShellRequest& b) { return a.path < b.path; });
    return requests;
}
