// Holds an existing file open, as a word processor showing a document does, until its standard
// input is closed. It shares the file for everything, so that only the other opener's own
// sharing can refuse it. Prints "held" once the file is open, or "failed <error code>" and exits.
#include "unique_handle.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const UniqueHandle file =
        OwnFileHandle(CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        std::printf("failed %lu\n", GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
