// The C library functions that the programs call, under their own names. GCC emits calls to
// memcpy, memmove, memset and memcmp on its own, for copies and comparisons of whole objects,
// even where no line of the programs names them; the string type calls memchr and strlen. The
// programs link no C library, so a function missing here shows at link time.
#include "ByteFunctions.h"

#include <cstddef>

extern "C" {

void* memcpy(void* to, const void* from, std::size_t count) {
    return vellora::CopyBytes(to, from, count);
}

void* memmove(void* to, const void* from, std::size_t count) {
    return vellora::MoveBytes(to, from, count);
}

void* memset(void* to, int value, std::size_t count) {
    return vellora::FillBytes(to, value, count);
}

int memcmp(const void* first, const void* second, std::size_t count) {
    return vellora::CompareBytes(first, second, count);
}

// The C library's own type: the byte found is the caller's to change if its bytes are.
void* memchr(const void* bytes, int value, std::size_t count) {
    return const_cast<void*>(vellora::FindByte(bytes, value, count));
}

std::size_t strlen(const char* text) {
    return vellora::TextLength(text);
}

} // extern "C"
