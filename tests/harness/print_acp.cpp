#include <windows.h>
#include <cstdio>

int main() {
    std::printf("%u\n", GetACP());
    return 0;
}
