#include "FuzzTexts.h"

#include "VelloraNames.h"

#include <cctype>

namespace bench {

namespace {

// Characters a file name may hold, two from the upper half of the ANSI code page among them.
constexpr char kPathCharacters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                   " .\\\\\\_-~!$&'()+,;=@[]{}#^`%\xE9\xC4";
// Characters that no output root may hold.
constexpr char kForbiddenCharacters[] = "/:*?\"<>|";
constexpr std::size_t kLongestAtom = 255;

struct WeightedRequest {
    unsigned request; // 0: any number from 1024 to 2047 but the exit request
    int weight;
};

// The host's own requests come more often than chance would bring them. Those that open the
// save-file dialog stay rare: each dialog costs the platform a good part of a second, and what the
// fuzz is after is many requests meeting, not many dialogs.
constexpr WeightedRequest kRequestMix[] = {
    {0, 400},
    {vellora::HM_SET_NAME_SUFFIX, 240},
    {vellora::HM_PLACE_OUTPUT, 300},
    {1282, 25},
    {1283, 26},
    {vellora::HM_SET_OUTPUT_ROOT, 6},
    {vellora::HM_PROMPT_OUTPUT_ROOT, 2},
    {vellora::HM_OPEN_PROPERTIES, 2},
};
constexpr int kRequestMixTotal = 1000;

} // namespace

int FuzzRandom::Below(int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(engine);
}

bool FuzzRandom::Chance(int percent) {
    return Below(100) < percent;
}

std::string FuzzRandom::Text(std::size_t longest, bool forbiddenToo) {
    const auto length = static_cast<std::size_t>(Below(static_cast<int>(longest) + 1));
    std::string text;
    while (text.size() < length) {
        const int kind = Below(20);
        if (kind == 0) {
            text += "%20";
        } else if (kind == 1 && forbiddenToo) {
            text += kForbiddenCharacters[Below(sizeof(kForbiddenCharacters) - 1)];
        } else {
            text += kPathCharacters[Below(sizeof(kPathCharacters) - 1)];
        }
    }
    text.resize(length);
    return OnTestDrives(text);
}

std::string FuzzRandom::PathInside(const std::string& folder) {
    return OnTestDrives(folder + "\\" + Text(40));
}

std::string FuzzRandom::RootInside(const std::string& folder) {
    return OnTestDrives(folder + "\\" + Text(30, false) + (Chance(50) ? "\\" : ""));
}

std::string FuzzRandom::AtomText(const std::string& folder) {
    switch (Below(3)) {
    case 0:
        return PathInside(folder).substr(0, kLongestAtom);
    case 1:
        return Text(kLongestAtom);
    default:
        return Text(8);
    }
}

unsigned FuzzRandom::RequestNumber() {
    int pick = Below(kRequestMixTotal);
    for (const WeightedRequest& entry : kRequestMix) {
        if (pick < entry.weight) {
            return entry.request != 0 ? entry.request : AnyRequestNumber();
        }
        pick -= entry.weight;
    }
    return AnyRequestNumber();
}

unsigned FuzzRandom::AnyRequestNumber() {
    unsigned number = vellora::HM_EXIT;
    while (number == vellora::HM_EXIT) {
        number = 1024u + static_cast<unsigned>(Below(1024));
    }
    return number;
}

std::string OnTestDrives(std::string text) {
    const bool namesDrive =
        text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]));
    if (namesDrive && std::tolower(static_cast<unsigned char>(text[0])) != 'c' &&
        std::tolower(static_cast<unsigned char>(text[0])) != 'e') {
        text[0] = 'c';
    }
    if (text.compare(0, 2, "\\\\") == 0) {
        text[1] = '_';
    }
    return text;
}

} // namespace bench
