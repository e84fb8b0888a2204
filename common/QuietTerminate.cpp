// The C++ runtime's default reaction to an exception that nothing catches writes the exception's
// type, demangled, to the standard error stream, which none of these windowed programs has; the
// demangler alone is some 50 KB of every program. This replacement ends the program the same
// way, without the message, and keeps the demangler out.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler();

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
