// The host's check of an output root and its "%20" decoding, against the rules stated plainly
// on the root's characters in any code page: the eight forbidden characters (a colon allowed
// only as the first one, right after a one-byte first character), the fall-back root, and one
// left-to-right pass that turns "%20" into a space.
#include "FuzzCheck.h"
#include "FuzzCodePage.h"
#include "OutputRoot.h"
#include "VelloraNames.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Characters = std::vector<std::string>;

bool ColonsAllowed(const Characters& root) {
    const auto colons = std::count(root.begin(), root.end(), ":");
    const bool driveColon = root.size() > 1 && root[0].size() == 1 && root[1] == ":";
    return colons == 0 || (colons == 1 && driveColon);
}

bool IsUsable(const Characters& root) {
    for (const char* forbidden : {"/", "*", "?", "\"", "<", ">", "|"}) {
        if (std::find(root.begin(), root.end(), forbidden) != root.end()) {
            return false;
        }
    }
    return ColonsAllowed(root);
}

std::string Decoded(const Characters& root) {
    std::string decoded;
    for (std::size_t at = 0; at < root.size();) {
        if (at + 2 < root.size() && root[at] == "%" && root[at + 1] == "2" && root[at + 2] == "0") {
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
    FuzzedDataProvider input(data, size);
    const FuzzCodePage codePage(input);
    const std::string root = input.ConsumeRemainingBytesAsString();
    const Characters characters = codePage.Characters(root);
    std::string checked = root;
    const int result = ValidateOutputRoot(checked, codePage);
    if (root.empty()) {
        Require(result == 0 && checked.empty(), "an empty root stays empty and is not usable");
    } else if (IsUsable(characters)) {
        Require(result == 1, "a root without forbidden characters is usable");
        Require(checked == Decoded(characters), "a usable root has every %20 turned into a space");
        std::string again = checked;
        Require(ValidateOutputRoot(again, codePage) == 1 && again == checked,
                "a decoded root is usable and decodes to itself");
    } else {
        Require(result == 0, "a root with a forbidden character is not usable");
        Require(checked == vellora::kDefaultOutputRoot, "a rejected root becomes c:\\VelloraDoc");
    }
    return 0;
}
