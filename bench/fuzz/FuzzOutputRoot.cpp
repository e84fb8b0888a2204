// The host's check of an output root and its "%20" decoding, against the rules stated plainly:
// the eight forbidden characters (a colon allowed only as the first one, in second place), the
// fall-back root, and one left-to-right pass that turns "%20" into a space.
#include "FuzzCheck.h"
#include "OutputRoot.h"
#include "VelloraNames.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool ColonsAllowed(const std::string& root) {
    const auto first = root.find(':');
    return first == std::string::npos || (first == 1 && root.find(':', 2) == std::string::npos);
}

bool IsUsable(const std::string& root) {
    return root.find_first_of("/*?\"<>|") == std::string::npos && ColonsAllowed(root);
}

std::string Decoded(const std::string& root) {
    std::string decoded;
    for (std::size_t at = 0; at < root.size();) {
        if (root.compare(at, 3, "%20") == 0) {
            decoded += ' ';
            at += 3;
        } else {
            decoded += root[at++];
        }
    }
    return decoded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string root(reinterpret_cast<const char*>(data), size);
    std::string checked = root;
    const int result = ValidateOutputRoot(checked);
    if (root.empty()) {
        Require(result == 0 && checked.empty(), "an empty root stays empty and is not usable");
    } else if (IsUsable(root)) {
        Require(result == 1, "a root without forbidden characters is usable");
        Require(checked == Decoded(root), "a usable root has every %20 turned into a space");
        std::string again = checked;
        Require(ValidateOutputRoot(again) == 1 && again == checked,
                "a decoded root is usable and decodes to itself");
    } else {
        Require(result == 0, "a root with a forbidden character is not usable");
        Require(checked == vellora::kDefaultOutputRoot, "a rejected root becomes c:\\VelloraDoc");
    }
    return 0;
}
