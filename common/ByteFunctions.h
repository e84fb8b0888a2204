// The byte and text functions of the C library that the programs reach, written here because
// Windows 95 as installed from its CD has no C library DLL to take them from. Kept apart from
// the names the compiler knows (memcpy, strlen, ...) so that the native tests can run them
// beside the host system's own; common/CLibraryFunctions.cpp gives the programs those names.
#pragma once

#include <cstddef>

namespace vellora {

// Copies count bytes forward; the two ranges must not overlap. Returns to.
void* CopyBytes(void* to, const void* from, std::size_t count);
// Copies count bytes so that the copy is right even where the ranges overlap. Returns to.
void* MoveBytes(void* to, const void* from, std::size_t count);
// Sets count bytes to the low byte of value. Returns to.
void* FillBytes(void* to, int value, std::size_t count);
// Below, equal to or above zero as the first differing byte, taken as unsigned, of first is
// below, equal to or above that of second.
int CompareBytes(const void* first, const void* second, std::size_t count);
// The first of count bytes that equals the low byte of value, or null.
const void* FindByte(const void* bytes, int value, std::size_t count);
// The number of bytes before the terminating zero.
std::size_t TextLength(const char* text);

} // namespace vellora
