#pragma once
// The class library's exception family. Every failure the program reports is one of these;
// the message text is what the error box shows. Portable: no Windows header.
#include <string>

namespace classlib {

class Exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    virtual ~Exception() = default;
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// A silent exception: reported nowhere.
class EAbort : public Exception {
    using Exception::Exception;
};

class EResNotFound : public Exception {
public:
    explicit EResNotFound(const std::string& resourceName);
};

class EStreamError : public Exception {
    using Exception::Exception;
};

class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(const std::string& fileName);
};

class EFilerError : public EStreamError {
    using EStreamError::EStreamError;
};

class EWriteError : public EFilerError {
public:
    EWriteError();
};

class EReadError : public EFilerError {
    using EFilerError::EFilerError;
};

} // namespace classlib
