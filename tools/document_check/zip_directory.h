#pragma once
// Reads the names of a zip archive's entries from its central directory (Office Open XML
// packages are zip archives).
#include "bytes.h"

#include <string>
#include <vector>

// The entry names in central-directory order; FormatError when the archive's end record or
// central directory is missing or damaged.
std::vector<std::string> ZipEntryNames(Bytes archive);
