#include "open_document_harness.h"

#include "wait_until.h"

#include "document_store.h"
#include "open_document.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace {

struct CloseFind {
    void operator()(HANDLE find) const { FindClose(find); }
};
using UniqueFind = std::unique_ptr<std::remove_pointer_t<HANDLE>, CloseFind>;

UniqueFind OwnFindHandle(HANDLE find) {
    return UniqueFind(find == INVALID_HANDLE_VALUE ? nullptr : find);
}

std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string InDocumentFolder(const std::string& fileName) {
    return std::string(DocumentFolder) + '\\' + fileName;
}

bool RecorderRunning() {
    const UniqueHandle snapshot = OwnFileHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        throw std::runtime_error("cannot list the processes");
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32First(snapshot.get(), &process); more;
         more = Process32Next(snapshot.get(), &process))
        if (lstrcmpiA(process.szExeFile, "recorder.exe") == 0)
            return true;
    return false;
}

void WaitForRecordersToEnd() {
    if (!WaitUntil([] { return !RecorderRunning(); }))
        throw std::runtime_error("a recorder did not end");
}

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// The log's complete lines: "<path in hex> <show state>".
std::vector<ShellRequest> ParseLog(const std::string& log) {
    std::vector<ShellRequest> requests;
    std::size_t start = 0;
    for (std::size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = log.substr(start, end - start);
        const std::size_t space = line.find(' ');
        if (space == std::string::npos)
            throw std::runtime_error("malformed shell request log line: " + line);
        requests.push_back({FromHex(line.substr(0, space)), std::stoi(line.substr(space + 1))});
    }
    return requests;
}

} // namespace

std::string FullPath(const TDocumentEntry& entry) {
    return InDocumentFolder(entry.FileName);
}

std::string EmbeddedDocument(const TDocumentEntry& entry) {
    const auto stream = LoadDocumentStream(entry.ResourceName);
    return {static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size())};
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const UniqueHandle file =
        OwnFileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    return content;
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    const UniqueHandle file = OwnFileHandle(CreateFileA(
        path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), content.data(), content.size(), &written, nullptr) ||
        written != content.size())
        throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> FilesInDocumentFolder() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const UniqueFind find = OwnFindHandle(FindFirstFileA(InDocumentFolder("*").c_str(), &found));
    if (!find)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(find.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

bool DocumentFolderExists() {
    const DWORD attributes = GetFileAttributesA(DocumentFolder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void EmptyDocumentFolder() {
    for (const std::string& name : FilesInDocumentFolder()) {
        const std::string path = InDocumentFolder(name);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path.c_str()))
            throw std::runtime_error("cannot delete " + path);
    }
}

void RemoveDocumentFolder() {
    const DWORD attributes = GetFileAttributesA(DocumentFolder);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    bool removed = false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        EmptyDocumentFolder();
        removed = RemoveDirectoryA(DocumentFolder);
    } else {
        SetFileAttributesA(DocumentFolder, FILE_ATTRIBUTE_NORMAL);
        removed = DeleteFileA(DocumentFolder);
    }
    if (!removed)
        throw std::runtime_error(std::string("cannot remove ") + DocumentFolder);
}

ShellRequestLog::ShellRequestLog() {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("VALKESTA_SHELL_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("VALKESTA_SHELL_LOG names no log: run the test through ctest");
    path_ = WindowsPath(path);
    marker_ = path_ + "-marker.doc";
    // A recorder still running from an earlier test would write into this one's log.
    WaitForRecordersToEnd();
    DeleteFileA(path_.c_str());
    WriteWholeFile(marker_, "marker");
}

std::vector<ShellRequest> ShellRequestLog::Requests() {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, nullptr, marker_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        throw std::runtime_error("the shell cannot open the marker (error " +
                                 std::to_string(result) + "): is the recorder registered?");
    const auto isMarker = [this](const ShellRequest& request) { return request.path == marker_; };
    const auto markers = [&] {
        const std::vector<ShellRequest> requests = ParseLog(ReadWholeFile(path_).value_or(""));
        return std::count_if(requests.begin(), requests.end(), isMarker);
    };
    const auto markersBefore = markers();
    if (!WaitUntil([&] { return markers() > markersBefore; }))
        throw std::runtime_error("the recorder logged no request for the marker");
    WaitForRecordersToEnd();

    std::vector<ShellRequest> requests = ParseLog(ReadWholeFile(path_).value_or(""));
    std::erase_if(requests, isMarker);
    return requests;
}

HeldFile::HeldFile(const std::string& path) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE inputRead = nullptr, inputWrite = nullptr, outputRead = nullptr, outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &inputWrite, &inheritable, 0))
        throw std::runtime_error("cannot make the holder's input pipe");
    const UniqueHandle childInput(inputRead);
    input_.reset(inputWrite);
    if (!CreatePipe(&outputRead, &outputWrite, &inheritable, 0))
        throw std::runtime_error("cannot make the holder's output pipe");
    const UniqueHandle output(outputRead);
    UniqueHandle childOutput(outputWrite);
    SetHandleInformation(input_.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput.get();
    startup.hStdOutput = childOutput.get();
    startup.hStdError = childOutput.get();
    std::string command = "\"" + WindowsPath(HOLDER_EXE) + "\" \"" + path + "\"";
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started))
        throw std::runtime_error("cannot start " + command);
    process_.reset(started.hProcess);
    CloseHandle(started.hThread);

    // Our copy of the child's ends must go, or its output never ends.
    childOutput.reset();
    std::string said;
    char byte;
    DWORD read = 0;
    while (ReadFile(output.get(), &byte, 1, &read, nullptr) && read == 1 && byte != '\n')
        if (byte != '\r')
            said += byte;
    if (said != "held")
        throw std::runtime_error("the holder could not hold " + path + ": " + said);
}

HeldFile::~HeldFile() {
    input_.reset();
    WaitForSingleObject(process_.get(), INFINITE);
}
