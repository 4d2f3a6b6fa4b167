#pragma once
// The documents travel inside the executable as resources of one named type, keyed by the
// catalogue's resource names.
#include "streams.h"

#include <memory>
#include <string>

inline constexpr char DocumentResourceType[] = "FILE";

// A read-only stream over the named document where the running executable holds it.
// Raises classlib::EResNotFound for a name the executable does not hold.
std::unique_ptr<classlib::TResourceStream> LoadDocumentStream(const std::string& resourceName);
