#include "handle_counts.h"

#include "gdi_object.h"
#include "unique_handle.h"

#include <winternl.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

struct DestroyWindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, DestroyWindowDeleter>;

// SystemExtendedHandleInformation: every open kernel handle of the system, with its process.
constexpr auto SystemExtendedHandleInformation = SYSTEM_INFORMATION_CLASS(64);

struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};

struct HandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry handles[1];
};

int CountKernelHandles() {
    std::vector<std::uint8_t> buffer(64 * 1024);
    constexpr NTSTATUS InfoLengthMismatch = NTSTATUS(0xC0000004L);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(SystemExtendedHandleInformation, buffer.data(),
                                              ULONG(buffer.size()), nullptr)) == InfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        throw std::runtime_error("cannot list the system's handles");
    const auto& list = *reinterpret_cast<const HandleList*>(buffer.data());
    int count = 0;
    for (ULONG_PTR i = 0; i < list.count; ++i)
        count += list.handles[i].processId == GetCurrentProcessId();
    return count;
}

int GuiResources(DWORD kind, int (*counted)()) {
    SetLastError(0);
    const DWORD count = GetGuiResources(GetCurrentProcess(), kind);
    return count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? counted() : int(count);
}

// Wine's GDI handles are indices into a per-process table; a handle's upper half may be left
// out when it is looked up.
int CountGdiTableEntries() {
    int count = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return count;
}

BOOL CALLBACK CountDescendant(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// A top-level window of this process with all its descendants.
BOOL CALLBACK CountWindowTree(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<int*>(count);
        EnumChildWindows(window, CountDescendant, count);
    }
    return TRUE;
}

// The process's windows: top-level and message-only ones and everything inside them.
int CountWindows() {
    int count = 0;
    EnumWindows(CountWindowTree, reinterpret_cast<LPARAM>(&count));
    for (HWND window = nullptr;
         (window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;)
        CountWindowTree(window, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace

std::string HandleCounts::ToString() const {
    return std::to_string(gdi) + '/' + std::to_string(user) + '/' + std::to_string(kernel);
}

HandleCounts CountHandles() {
    return {GuiResources(GR_GDIOBJECTS, CountGdiTableEntries),
            GuiResources(GR_USEROBJECTS, CountWindows), CountKernelHandles()};
}

bool HandleCountsRespond() {
    const HandleCounts before = CountHandles();
    HandleCounts during;
    {
        const classlib::TGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
        const UniqueWindow window(
            CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
        const UniqueHandle event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (!brush || !window || !event)
            throw std::runtime_error("cannot make the objects that calibrate the handle counts");
        during = CountHandles();
    }
    const HandleCounts expected{before.gdi + 1, before.user + 1, before.kernel + 1};
    return during == expected && CountHandles() == before;
}
