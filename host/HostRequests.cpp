#include "HostWindow.h"

std::int32_t HostWindow::HandleHostMessage(unsigned, std::uintptr_t, std::intptr_t) { return 0; }
