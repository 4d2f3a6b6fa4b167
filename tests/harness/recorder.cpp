// Stands in for the application the shell starts for a document: the test prefix registers it
// for ".docx" and ".doc". Each start appends one line to the file named by the environment
// variable VALKESTA_SHELL_LOG (inherited from the program that made the shell request):
// the document argument's bytes in hex, a space, and the show state it was started with
// (-1 when none was given).
#include "unique_handle.h"

#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    char logPath[MAX_PATH];
    const DWORD logPathLength = GetEnvironmentVariableA("VALKESTA_SHELL_LOG", logPath, MAX_PATH);
    if (argc != 2 || logPathLength == 0 || logPathLength >= MAX_PATH)
        return 2;

    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    std::string line;
    for (const char byte : std::string_view(argv[1])) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(byte));
        line += hex;
    }
    line += ' ' + std::to_string(show) + '\n';

    const UniqueHandle log =
        OwnFileHandle(CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!log || !WriteFile(log.get(), line.data(), line.size(), &written, nullptr) ||
        written != line.size())
        return 1;
    return 0;
}
