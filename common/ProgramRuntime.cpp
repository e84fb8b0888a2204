// The few parts of the C++ runtime that the programs use, compiled with the programs' own code
// for the oldest processor they run on. The runtime's prebuilt library is not linked: it is
// built for later processors, and with its exception machinery it would be most of each program.
// Nothing here throws: where the library would throw, the program ends, as it would with an
// exception that nothing catches.
#include <cstdlib>
#include <new>

// On the C runtime's own heap, apart from the process heap that the system's dialogs use. With
// the programs' texts on the process heap, Wine's save-file dialog, opened nested many times,
// faulted in its own code and once left the host spinning, most likely by reading memory it had
// let go of and the texts had taken meanwhile; on this heap it does not.
void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        std::abort();
    }
    return block;
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace std {

void __throw_length_error(const char*) {
    abort();
}

void __throw_logic_error(const char*) {
    abort();
}

void __throw_out_of_range_fmt(const char*, ...) {
    abort();
}

void __throw_bad_alloc() {
    abort();
}

void __throw_bad_array_new_length() {
    abort();
}

// A string index out of range, which the checks of the string type catch.
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept {
    abort();
}

} // namespace std

extern "C" void __cxa_pure_virtual() {
    abort();
}
