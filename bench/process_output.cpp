#include "process_output.h"

#include "unique_handle.h"

#include <windows.h>

#include <stdexcept>

std::string SelfPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("cannot find this executable's path");
    return path;
}

std::string ProcessOutput(const std::string& exe, const std::vector<std::string>& args) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0))
        throw std::runtime_error("cannot make a pipe");
    const UniqueHandle output(readEnd);
    UniqueHandle childOutput(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = '"' + exe + '"';
    for (const std::string& arg : args)
        commandLine += ' ' + arg;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = childOutput.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &started))
        throw std::runtime_error("cannot start " + exe);
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    childOutput.reset(); // the pipe ends when the child's copy closes

    std::string text;
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(output.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    DWORD exitCode = 1;
    WaitForSingleObject(process.get(), INFINITE);
    GetExitCodeProcess(process.get(), &exitCode);
    if (exitCode != 0)
        throw std::runtime_error(exe + " " + (args.empty() ? "" : args.front()) + " failed");
    return text;
}
