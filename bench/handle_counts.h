#pragma once
// This process's GDI objects, USER objects and kernel handles. Wine answers neither
// GetGuiResources nor GetProcessHandleCount (stubs that report nothing), so the counts are
// taken where Wine keeps them too: the system's handle list for kernel handles, the process's
// GDI handle table, and its windows for USER objects.
#include <string>

struct HandleCounts {
    int gdi = 0;
    int user = 0;
    int kernel = 0;

    bool operator==(const HandleCounts&) const = default;
    std::string ToString() const; // "gdi/user/kernel"
};

HandleCounts CountHandles();

// Whether each count follows one object made and destroyed, so that an unchanged count means
// something.
bool HandleCountsRespond();
