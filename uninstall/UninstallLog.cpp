#include "UninstallLog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

void UninstallLog::Set(const char* line) {
    text[0] = '\0';
    Append(line);
}

void UninstallLog::Append(const char* line) {
    const std::size_t used = std::strlen(text);
    const std::size_t room = kCapacity - 1 - used;
    const std::size_t length = std::min(std::strlen(line), room);
    std::memcpy(text + used, line, length);
    text[used + length] = '\0';
}

bool AppendErrorLine(UninstallLog& log, const char* message, std::int32_t errorCode) {
    // ", err - " (8), at most 11 characters of a signed 32-bit number, " \n" (2).
    char suffix[24];
    std::snprintf(suffix, sizeof(suffix), ", err - %d \n", static_cast<int>(errorCode));
    log.Append(message);
    log.Append(suffix);
    return false;
}

void AppendFileLine(UninstallLog& log, const char* fileName, bool deleted) {
    log.Append(deleted ? "  " : "\t");
    log.Append(fileName);
    log.Append(deleted ? " deleted...\n" : " not deleted...\n");
}
