// The host's requests as the driver sends them: to the window "VelloraHost", synchronously,
// texts in global atoms, each send with a deadline so that nothing waits forever.
#pragma once

#include "PrintJob.h"

#include <cstdint>

struct HWND__;

namespace vlprint {

// Polls for the host's window until it appears or `waitMs` has passed; null when it did not.
HWND__* FindHostWindow(unsigned waitMs);

class HostConnection : public HostRequests {
  public:
    HostConnection(HWND__* hostWindow, unsigned requestTimeoutMs)
        : window(hostWindow), timeoutMs(requestTimeoutMs) {}

    HostReply SetOutputRoot(const std::string& root) override;
    HostReply PromptForOutputRoot() override;
    HostReply SetNameSuffix(const std::string& suffix) override;
    HostReply PlaceOutput(const std::string& pathWithoutExtension) override;

  private:
    enum class AtomOwner { Host, Sender };

    HostReply SendText(unsigned message, const std::string& text, AtomOwner owner);
    HostReply Send(unsigned message, std::uintptr_t wParam);

    HWND__* window;
    unsigned timeoutMs;
};

} // namespace vlprint
