#include <cstdlib>

// The library's default terminate handler prints the exception's demangled type to stderr,
// which a GUI program does not have, and pulls a whole demangler into the executable. Every
// exception is caught before it could get here; should one escape all the same, end at once.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
