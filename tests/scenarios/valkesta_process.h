#pragma once
// One run of the program under test, started the way a launcher starts it, and waiting for
// what it does asynchronously.
#include "unique_handle.h"
#include "wait_until.h"

#include <optional>
#include <string>

// "Z:/a/b.exe" as Windows writes it: "Z:\a\b.exe".
std::string WindowsPath(std::string path);

class ValkestaProcess {
public:
    // Starts the executable; with a show state, the launcher asks for that start-up state
    // (STARTF_USESHOWWINDOW), as a shortcut set to run maximised or minimised does.
    explicit ValkestaProcess(const std::string& executable,
                             std::optional<WORD> showState = std::nullopt);
    // Ends the program if it still runs, so that a failed check leaves nothing behind.
    ~ValkestaProcess();
    ValkestaProcess(const ValkestaProcess&) = delete;
    ValkestaProcess& operator=(const ValkestaProcess&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    // The exit code once the program has ended; nothing if it still runs when patience ends.
    std::optional<DWORD> WaitForExit();

private:
    UniqueHandle process_;
    DWORD id_ = 0;
};
