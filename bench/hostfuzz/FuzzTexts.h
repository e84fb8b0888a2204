// Random requests for the host fuzz: texts drawn from path characters, the characters that no
// root may hold and "%20", kept to the test drives, and the request numbers to send them with.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace bench {

class FuzzRandom {
  public:
    explicit FuzzRandom(std::uint32_t seed) : engine(seed) {}

    // 0 to count - 1.
    int Below(int count);
    bool Chance(int percent);

    // Up to `longest` characters (at most 255, the most an atom holds), with or without the
    // characters that no root may hold.
    std::string Text(std::size_t longest, bool forbiddenToo = true);
    // A path inside the folder: the folder, a backslash and a short random tail.
    std::string PathInside(const std::string& folder);
    // A root that the host takes: a folder or file-name root inside the folder.
    std::string RootInside(const std::string& folder);
    // What a sender puts in an atom: a path into its folder, any text or a short one.
    std::string AtomText(const std::string& folder);
    // A request number from 1024 to 2047, the host's own ones more often than the rest; never
    // the exit request, which ends the host.
    unsigned RequestNumber();

  private:
    unsigned AnyRequestNumber();

    std::mt19937 engine;
};

// The text with any drive other than C: and E: turned into C:, and without a leading double
// backslash: the fuzz may move files anywhere on the test drives, never onto another file
// system or a network path.
std::string OnTestDrives(std::string text);

} // namespace bench
