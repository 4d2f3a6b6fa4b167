#pragma once
// What a stored document of each format must look like to be embedded.
#include "bytes.h"
#include "document_catalog.h"

#include <string>

// ".docx" or ".doc".
const char* StoredExtension(TDocumentFormat format);

// Why the bytes are not a document of that format, or an empty text when they are one: the
// leading signature and the parts or streams that every such document holds.
std::string FormatProblem(TDocumentFormat format, Bytes document);
