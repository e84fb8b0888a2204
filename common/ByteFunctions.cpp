// Plain byte loops: the programs copy and compare paths and short texts, where nothing faster
// would be noticed. Compiled with -fno-tree-loop-distribute-patterns, without which GCC turns
// such loops into calls to the C library (GCC 12 made TextLength's loop a call to strlen),
// which here lead back into the loop itself.
#include "ByteFunctions.h"

#include <cstdint>

namespace vellora {

void* CopyBytes(void* to, const void* from, std::size_t count) {
    unsigned char* target = static_cast<unsigned char*>(to);
    const unsigned char* source = static_cast<const unsigned char*>(from);
    for (std::size_t i = 0; i < count; ++i) {
        target[i] = source[i];
    }
    return to;
}

void* MoveBytes(void* to, const void* from, std::size_t count) {
    // A target below the source is safe to copy forward; one above it must be copied from the
    // end, or the first bytes copied would overwrite source bytes not yet read.
    if (reinterpret_cast<std::uintptr_t>(to) <= reinterpret_cast<std::uintptr_t>(from)) {
        return CopyBytes(to, from, count);
    }
    unsigned char* target = static_cast<unsigned char*>(to);
    const unsigned char* source = static_cast<const unsigned char*>(from);
    while (count > 0) {
        --count;
        target[count] = source[count];
    }
    return to;
}

void* FillBytes(void* to, int value, std::size_t count) {
    unsigned char* target = static_cast<unsigned char*>(to);
    for (std::size_t i = 0; i < count; ++i) {
        target[i] = static_cast<unsigned char>(value);
    }
    return to;
}

int CompareBytes(const void* first, const void* second, std::size_t count) {
    const unsigned char* left = static_cast<const unsigned char*>(first);
    const unsigned char* right = static_cast<const unsigned char*>(second);
    for (std::size_t i = 0; i < count; ++i) {
        if (left[i] != right[i]) {
            return left[i] < right[i] ? -1 : 1;
        }
    }
    return 0;
}

const void* FindByte(const void* bytes, int value, std::size_t count) {
    const unsigned char* byte = static_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < count; ++i) {
        if (byte[i] == static_cast<unsigned char>(value)) {
            return byte + i;
        }
    }
    return nullptr;
}

std::size_t TextLength(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0') {
        ++length;
    }
    return length;
}

} // namespace vellora
