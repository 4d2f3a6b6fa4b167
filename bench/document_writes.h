#pragma once
// The open action's work on one document: ours (the embedded document looked up and saved
// through the class library's streams) against the bare system calls that write the same bytes,
// and the whole action repeated, to see whether it leaves anything behind.
#include "document_catalog.h"
#include "handle_counts.h"
#include "measure.h"

#include <cstdint>

struct DocumentWrites {
    std::uint32_t documentBytes = 0;
    SideBySide<double> batchMs; // each sample one batch of writes
    bool fileMatches = false;   // the file holds the document, byte for byte, afterwards
};
DocumentWrites TimeDocumentWrites(const TDocumentEntry& entry, int batches, int writesPerBatch);

struct RepeatedOpens {
    bool throughShell = false; // OpenDocument itself; without it, its file work only
    HandleCounts before;
    HandleCounts after;
};
// OpenDocument asks the shell to open the file, which would start an application for every
// open where one is registered: there the file work is repeated instead.
RepeatedOpens OpenRepeatedly(const TDocumentEntry& entry, int opens);
