#pragma once
// Reads a compound file's directory (the container of Word 97-2003 documents): header, sector
// allocation table and the directory entries of the root storage.
#include "bytes.h"

#include <string>
#include <vector>

// Names of the streams held directly in the root storage; FormatError when the header,
// allocation table or directory is damaged or lies beyond the end of the file.
std::vector<std::u16string> RootStreamNames(Bytes file);
