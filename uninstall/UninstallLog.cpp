#include "UninstallLog.h"

#include <algorithm>
#include <cstring>
#include <string>

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
    log.Append(message);
    log.Append(", err - ");
    log.Append(std::to_string(errorCode).c_str());
    log.Append(" \n");
    return false;
}

void AppendRemovalLine(UninstallLog& log, const char* name, bool deleted) {
    log.Append(deleted ? "  " : "\t");
    log.Append(name);
    log.Append(deleted ? " deleted...\n" : " not deleted...\n");
}
