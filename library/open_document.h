#pragma once
// The action behind every document button: write the document into the working folder and
// ask the shell to open it there.
#include "controls.h"
#include "document_catalog.h"
#include "streams.h"

#include <string>

inline constexpr char DocumentFolder[] = "c:\\Nemtora";

// Makes the working folder; whatever the outcome, the caller goes on.
void EnsureDocumentFolder();

// Writes the whole stream over the file of that name in the working folder and returns the
// file's full path. Raises classlib::EFCreateError or classlib::EWriteError.
std::string ExtractDocument(classlib::TCustomMemoryStream& stream, const std::string& fileName);

// Writes the entry's document and hands it to the shell with the owner's window as owner.
// Every failure passes out unchanged for the application to report.
void OpenDocument(const TDocumentEntry& entry, classlib::TWinControl& owner);
