#include "document_folder.h"

#include "document_formats.h"
#include "windows1251_to_utf8.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string Describe(const TDocumentEntry& entry) {
    return "row " + std::string(entry.ResourceName) + ", \"" + Windows1251ToUtf8(entry.FileName) +
           "\"";
}

void CheckStoredDocument(const TDocumentEntry& entry, const fs::path& path,
                         std::vector<DocumentProblem>& problems) {
    std::error_code error;
    if (!fs::exists(path, error)) {
        problems.push_back({path, "missing: " + Describe(entry) + " needs this document"});
        return;
    }
    if (!fs::is_regular_file(path, error)) {
        problems.push_back({path, "not a regular file"});
        return;
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> document{std::istreambuf_iterator<char>(in),
                                             std::istreambuf_iterator<char>()};
    if (in.bad() || !in.is_open()) {
        problems.push_back({path, "cannot be read"});
        return;
    }
    if (const std::string problem = FormatProblem(entry.StoredFormat, document); !problem.empty())
        problems.push_back({path, problem + " (" + Describe(entry) + ")"});
}

// A DOC* file that no row stores under that name would silently not be embedded.
void CheckStrayFiles(const fs::path& folder, std::vector<DocumentProblem>& problems) {
    for (const fs::directory_entry& item : fs::directory_iterator(folder)) {
        const std::string name = item.path().filename().string();
        if (!name.starts_with("DOC"))
            continue;
        const auto row = std::find_if(
            DocumentCatalog.begin(), DocumentCatalog.end(),
            [&](const TDocumentEntry& entry) { return StoredFileName(entry) == name; });
        if (row != DocumentCatalog.end())
            continue;
        const std::string stem = item.path().stem().string();
        const auto sameName =
            std::find_if(DocumentCatalog.begin(), DocumentCatalog.end(),
                         [&](const TDocumentEntry& entry) { return stem == entry.ResourceName; });
        problems.push_back(
            {item.path(), sameName != DocumentCatalog.end()
                              ? std::string("wrong extension: ") + Describe(*sameName) +
                                    " is stored as " + StoredFileName(*sameName)
                              : "no catalogue row uses this name (DOC1 to DOC21 only)"});
    }
}

} // namespace

std::string StoredFileName(const TDocumentEntry& entry) {
    return std::string(entry.ResourceName) + StoredExtension(entry.StoredFormat);
}

std::vector<DocumentProblem> FindDocumentProblems(const fs::path& folder) {
    if (!fs::is_directory(folder))
        return {{folder, "not a folder"}};
    std::vector<DocumentProblem> problems;
    for (const TDocumentEntry& entry : DocumentCatalog)
        CheckStoredDocument(entry, folder / StoredFileName(entry), problems);
    CheckStrayFiles(folder, problems);
    return problems;
}
