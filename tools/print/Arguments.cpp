#include "Arguments.h"

namespace vlprint {

namespace {

constexpr int kMostSeconds = 24 * 60 * 60;
constexpr int kMostTestPages = 9999;

// A whole decimal number from 1 to `most`, and nothing else.
bool ParseCount(const std::string& text, int most, int& value) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoi(text);
    return value >= 1 && value <= most;
}

} // namespace

bool ParseArguments(const std::vector<std::string>& words, Arguments& arguments,
                    std::string& error) {
    bool pagesGiven = false;
    for (std::size_t at = 0; at < words.size(); ++at) {
        const std::string& word = words[at];
        const bool isOption = word.size() > 2 && word.compare(0, 2, "--") == 0;
        if (!isOption) {
            if (!arguments.document.empty() || word.empty()) {
                error = word.empty() ? "an empty document name" : "more than one document";
                return false;
            }
            arguments.document = word;
            continue;
        }
        if (at + 1 >= words.size()) {
            error = word + " needs a value";
            return false;
        }
        const std::string& value = words[++at];
        bool valid = true;
        if (word == "--pages") {
            valid = ParseCount(value, kMostTestPages, arguments.testPages);
            pagesGiven = true;
        } else if (word == "--root") {
            valid = !value.empty();
            arguments.outputRoot = value;
        } else if (word == "--wait-host") {
            valid = ParseCount(value, kMostSeconds, arguments.waitHostSeconds);
        } else if (word == "--timeout") {
            valid = ParseCount(value, kMostSeconds, arguments.timeoutSeconds);
        } else {
            error = "unknown option " + word;
            return false;
        }
        if (!valid) {
            error = "not a valid value for " + word + ": \"" + value + "\"";
            return false;
        }
    }
    if (pagesGiven && !arguments.document.empty()) {
        error = "a document and --pages together";
        return false;
    }
    return true;
}

} // namespace vlprint
