// Build-time check of the embedded documents.
//   document_check <documents folder> <out.rc>  checks every catalogue row's document and, when
//                                               all pass, writes the resource script
//   document_check --list                       prints "DOCn<TAB>docx|doc<TAB>title" (UTF-8) per
//                                               row, for the script that makes stand-ins
#include "document_catalog.h"
#include "document_folder.h"
#include "document_formats.h"
#include "resource_script.h"
#include "windows1251_to_utf8.h"

#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

// The title is the file name without the extension of the stored format.
std::string Title(const TDocumentEntry& entry) {
    const std::string fileName = entry.FileName;
    const std::string extension = StoredExtension(entry.StoredFormat);
    if (!fileName.ends_with(extension))
        throw std::logic_error(std::string("catalogue row ") + entry.ResourceName +
                               ": file name does not end in " + extension);
    return Windows1251ToUtf8(fileName.substr(0, fileName.size() - extension.size()));
}

int ListRows() {
    for (const TDocumentEntry& entry : DocumentCatalog)
        std::cout << entry.ResourceName << '\t'
                  << std::string(StoredExtension(entry.StoredFormat)).substr(1) << '\t'
                  << Title(entry) << '\n';
    return 0;
}

int CheckAndWriteScript(const std::filesystem::path& folder, const std::filesystem::path& script) {
    const std::vector<DocumentProblem> problems = FindDocumentProblems(folder);
    for (const DocumentProblem& problem : problems)
        std::cerr << "document_check: " << problem.file.string() << ": " << problem.reason << '\n';
    if (!problems.empty()) {
        std::cerr << "document_check: " << problems.size()
                  << " problem(s); see resources/documents and docs/documents.md\n";
        return 1;
    }
    std::ofstream out(script);
    WriteResourceScript(folder, out);
    out.close();
    if (!out) {
        std::cerr << "document_check: cannot write " << script.string() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 2 && std::string(argv[1]) == "--list")
            return ListRows();
        if (argc == 3)
            return CheckAndWriteScript(argv[1], argv[2]);
        std::cerr << "usage: document_check <documents folder> <out.rc>\n"
                     "       document_check --list\n";
        return 2;
    } catch (const std::exception& failure) {
        std::cerr << "document_check: " << failure.what() << '\n';
        return 1;
    }
}
