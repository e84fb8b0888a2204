// Built as the deliverables are, with their start-up and runtime: "index" as the last word of
// its command line reads a string beyond its end, "memory" asks for more memory than a 32-bit
// process can have. Anything else ends it with 0.
#include <windows.h>

#include <string>

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string commandLine = GetCommandLineA();
    if (EndsWith(commandLine, " index")) {
        const std::string text = "x";
        volatile std::size_t index = 5;
        return text[index];
    }
    if (EndsWith(commandLine, " memory")) {
        void* volatile block = ::operator new(0x7FFF0000u);
        return block != nullptr;
    }
    return 0;
}
