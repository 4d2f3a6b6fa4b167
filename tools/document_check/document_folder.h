#pragma once
// The folder of documents to embed, checked against the catalogue.
#include "document_catalog.h"

#include <filesystem>
#include <string>
#include <vector>

struct DocumentProblem {
    std::filesystem::path file;
    std::string reason;
};

// "DOC7.doc": the file in the folder that holds a row's document.
std::string StoredFileName(const TDocumentEntry& entry);

// Every reason the folder does not supply exactly the catalogue's documents, each in its
// row's format; empty when it does.
std::vector<DocumentProblem> FindDocumentProblems(const std::filesystem::path& folder);
