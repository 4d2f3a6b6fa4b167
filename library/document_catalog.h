#pragma once
// The 21 documents the program offers: which button opens which embedded document, and the
// file name it is written under.
#include <array>
#include <string_view>

enum class TDocumentFormat { dfOpenXml, dfWord97 };

struct TDocumentEntry {
    const char* ButtonName;   // ASCII
    const char* Caption;      // Windows-1251
    const char* PageName;     // ASCII
    const char* ResourceName; // ASCII, "DOC1".."DOC21"
    const char* FileName;     // Windows-1251, no folder
    TDocumentFormat StoredFormat;
};

extern const std::array<TDocumentEntry, 21> DocumentCatalog;

// The row of the button with that component name; throws std::out_of_range for a name that
// is not in the catalogue (a build fault, never a user's).
const TDocumentEntry& CatalogEntryForButton(std::string_view buttonName);
