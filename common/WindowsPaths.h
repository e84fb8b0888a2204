// The folders that Windows names, each asked for in one place: the whole path or the empty text
// when the system cannot give all of it, never a path cut short. Also the loading of system DLLs
// by their full path.
#pragma once

#include <windows.h>

#include <string>

std::string WindowsDirectory();
std::string SystemDirectory();
// The spooler's printer-driver directory of the local machine, however long. winspool.drv is
// loaded on the first call, so that a program that never asks does not load it at start.
std::string PrinterDriverDirectory();

// A system DLL by its full path in the system directory: loaded by bare name, a file of that
// name beside the program would be loaded in its place.
HMODULE LoadSystemLibrary(const char* fileName);

// A function of a system DLL that is loaded on first use, for a DLL that a program needs only
// now and then: linked at start, it and everything it loads in turn would lengthen every start
// and stay in memory for good. Null when the DLL or the function is missing.
template <typename Function> Function SystemFunction(const char* library, const char* name) {
    const HMODULE module = LoadSystemLibrary(library);
    const FARPROC function = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}
