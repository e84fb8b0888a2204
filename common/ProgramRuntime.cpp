// The few parts of the C++ runtime that the programs use, compiled with the programs' own code
// for the oldest processor they run on. The runtime's prebuilt library is not linked: it is
// built for later processors, and with its exception machinery it would be most of each program.
// Nothing here throws: where the library would throw, the program ends (EndProgram below).
#include "VelloraNames.h"

#include <windows.h>

#include <new>

namespace {

// Apart from the 0 and 1 of the programs' own ends; the C library's abort ended them with 3 too.
constexpr UINT kInternalFailureExitCode = 3;
// Each begins a line of its own below the program's path.
constexpr const char* kOutOfMemoryText = "\nNot enough memory: this program ends.";
constexpr const char* kInternalErrorText = "\nInternal error: this program ends.";

// An internal failure (memory exhausted, a string index out of range, a pure virtual call)
// leaves the program no safe way on, so it ends with exit code 3, after a box with the caption
// of all its boxes that names the program and the cause: the host has no window of its own, and
// without the box its end would go unnoticed until prints stopped being placed. The box is
// shown as Windows shows one when memory is short: MB_ICONHAND with MB_SYSTEMMODAL, texts not
// taken from resources, no more than three lines. While it is open the program's windows take
// their messages as under any other box of theirs; the checks come before the access they
// guard, so no memory is broken. A second failure meanwhile ends the program at once.
[[noreturn]] void EndProgram(const char* cause) {
    static bool ending = false;
    if (!ending) {
        ending = true;
        char text[vellora::kPathBufferSize + 64];
        const DWORD length = GetModuleFileNameA(nullptr, text, vellora::kPathBufferSize);
        lstrcpynA(text + length, cause, static_cast<int>(sizeof(text) - length));
        MessageBoxA(nullptr, text, vellora::kMessageCaption, MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
    }
    ExitProcess(kInternalFailureExitCode);
}

// The programs' own heap, apart from the process heap that the system's dialogs use. With the
// programs' texts on the process heap, Wine's save-file dialog, opened nested many times,
// faulted in its own code and once left the host spinning, most likely by reading memory it had
// let go of and the texts had taken meanwhile; with the texts on a heap apart such faults are
// rare (docs/benchmarks-notes.md). Null when it could not be made.
HANDLE ProgramHeap() {
    static const HANDLE heap = HeapCreate(0, 0, 0);
    return heap;
}

} // namespace

void* operator new(std::size_t size) {
    const HANDLE heap = ProgramHeap();
    void* block = heap != nullptr ? HeapAlloc(heap, 0, size == 0 ? 1 : size) : nullptr;
    if (block == nullptr) {
        EndProgram(kOutOfMemoryText);
    }
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr) {
        HeapFree(ProgramHeap(), 0, block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace std {

void __throw_length_error(const char*) {
    EndProgram(kInternalErrorText);
}

void __throw_logic_error(const char*) {
    EndProgram(kInternalErrorText);
}

void __throw_out_of_range_fmt(const char*, ...) {
    EndProgram(kInternalErrorText);
}

void __throw_bad_alloc() {
    EndProgram(kOutOfMemoryText);
}

void __throw_bad_array_new_length() {
    EndProgram(kInternalErrorText);
}

// A string index out of range, which the checks of the string type catch.
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept {
    EndProgram(kInternalErrorText);
}

} // namespace std

extern "C" void __cxa_pure_virtual() {
    EndProgram(kInternalErrorText);
}
