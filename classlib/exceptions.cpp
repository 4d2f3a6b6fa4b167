#include "exceptions.h"

namespace classlib {

EResNotFound::EResNotFound(const std::string& resourceName)
    : Exception("Resource " + resourceName + " not found") {}

EFCreateError::EFCreateError(const std::string& fileName)
    : EStreamError("Cannot create file " + fileName) {}

EWriteError::EWriteError() : EFilerError("Stream write error") {}

} // namespace classlib
