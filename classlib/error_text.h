#pragma once
// The text of the error box: the message, with one full stop added when it is not empty and
// its last character's code is above that of "." (0x2E).
#include <string>

namespace classlib {

inline std::string ErrorBoxText(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

} // namespace classlib
