#include "valkesta_process.h"

#include <algorithm>
#include <stdexcept>

std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

ValkestaProcess::ValkestaProcess(const std::string& executable, std::optional<WORD> showState) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (showState) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *showState;
    }
    const std::string path = WindowsPath(executable);
    std::string command = '"' + path + '"';
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        throw std::runtime_error("cannot start " + path + " (error " +
                                 std::to_string(GetLastError()) + ")");
    process_.reset(started.hProcess);
    CloseHandle(started.hThread);
    id_ = started.dwProcessId;
}

ValkestaProcess::~ValkestaProcess() {
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), INFINITE);
    }
}

std::optional<DWORD> ValkestaProcess::WaitForExit() {
    // Bounds the wait for the program to end; no measure of speed.
    constexpr DWORD patience = 30'000;
    if (WaitForSingleObject(process_.get(), patience) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}
