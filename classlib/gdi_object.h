#pragma once
// Owns one GDI object (font, bitmap, brush) and deletes it exactly once.
#include <windows.h>

#include <utility>

namespace classlib {

template <class Handle> class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(Handle handle) : handle_(handle) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(TGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_)
            DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

// Selects an object into a device context for one scope and puts the old one back.
class TSelectedObject {
public:
    TSelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~TSelectedObject() { SelectObject(dc_, old_); }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The screen's device context, for measuring, released at the end of its scope.
class TScreenDC {
public:
    TScreenDC() : dc_(GetDC(nullptr)) {}
    ~TScreenDC() {
        if (dc_)
            ReleaseDC(nullptr, dc_);
    }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A memory device context compatible with another, deleted at the end of its scope.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~TMemoryDC() {
        if (dc_)
            DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

} // namespace classlib
