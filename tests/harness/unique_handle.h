#pragma once
// Ownership of a kernel handle in the test programs: closed when it goes out of scope.
#include <windows.h>

#include <memory>
#include <type_traits>

struct CloseKernelHandle {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, CloseKernelHandle>;

// CreateFile reports failure as INVALID_HANDLE_VALUE, not as a null handle.
inline UniqueHandle OwnFileHandle(HANDLE file) {
    return UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}
