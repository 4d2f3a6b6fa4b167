#include "document_store.h"

std::unique_ptr<classlib::TResourceStream> LoadDocumentStream(const std::string& resourceName) {
    return std::make_unique<classlib::TResourceStream>(nullptr, resourceName, DocumentResourceType);
}
