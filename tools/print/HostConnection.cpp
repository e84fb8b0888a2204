#include "HostConnection.h"

#include "VelloraNames.h"

#include <windows.h>

namespace vlprint {

namespace {

constexpr DWORD kPollMs = 50;

} // namespace

HWND FindHostWindow(unsigned waitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND found = FindWindowA(nullptr, vellora::kHostWindowName);
        if (found || GetTickCount() - start >= waitMs) {
            return found;
        }
        Sleep(kPollMs);
    }
}

HostReply HostConnection::SetOutputRoot(const std::string& root) {
    return SendText(vellora::HM_SET_OUTPUT_ROOT, root, AtomOwner::Host);
}

HostReply HostConnection::PromptForOutputRoot() {
    return Send(vellora::HM_PROMPT_OUTPUT_ROOT, 0);
}

HostReply HostConnection::SetNameSuffix(const std::string& suffix) {
    return SendText(vellora::HM_SET_NAME_SUFFIX, suffix, AtomOwner::Host);
}

HostReply HostConnection::PlaceOutput(const std::string& pathWithoutExtension) {
    return SendText(vellora::HM_PLACE_OUTPUT, pathWithoutExtension, AtomOwner::Sender);
}

// The host deletes the atoms of 1280 and 1286 once it has read them; the atom of 1281 stays
// the sender's. A request that timed out may still be read, so its atom is left alone; a host
// that went away during a request leaves its own atom's fate unknown, and one leaked atom is
// better than deleting a reference that may belong to another program by then.
HostReply HostConnection::SendText(unsigned message, const std::string& text, AtomOwner owner) {
    if (!IsWindow(window)) {
        return {HostReply::Delivery::HostGone, 0};
    }
    const ATOM atom = GlobalAddAtomA(text.c_str());
    if (atom == 0) {
        return {HostReply::Delivery::NotSent, 0};
    }
    const HostReply reply = Send(message, atom);
    if (owner == AtomOwner::Sender && reply.delivery != HostReply::Delivery::TimedOut) {
        GlobalDeleteAtom(atom);
    }
    return reply;
}

HostReply HostConnection::Send(unsigned message, std::uintptr_t wParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL, timeoutMs, &result)) {
        // The host's result is a 32-bit number, whatever the width of the sender's LRESULT.
        return {HostReply::Delivery::Answered, static_cast<std::int32_t>(result)};
    }
    return {IsWindow(window) ? HostReply::Delivery::TimedOut : HostReply::Delivery::HostGone, 0};
}

} // namespace vlprint
