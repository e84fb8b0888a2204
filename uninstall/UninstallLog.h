// The uninstall log: the report of one run, shown to the user once at the end. Lines end in
// "\n"; a success line begins with two spaces, a failure line with a tab, a heading in the
// first column.
#pragma once

#include <cstddef>
#include <cstdint>

class UninstallLog {
  public:
    // Characters, terminator included.
    static constexpr std::size_t kCapacity = 600;

    // Replaces the whole text.
    void Set(const char* line);
    // Cuts the text short rather than write past the buffer.
    void Append(const char* line);
    const char* Text() const { return text; }

  private:
    char text[kCapacity] = "";
};

// Appends the message and the error suffix ", err - <code> \n", the code in signed decimal.
// Returns false, which the failing step passes on as its own result.
bool AppendErrorLine(UninstallLog& log, const char* message, std::int32_t errorCode);

// "  <name> deleted...\n" when the file or value was deleted, "\t<name> not deleted...\n"
// otherwise.
void AppendRemovalLine(UninstallLog& log, const char* name, bool deleted);
