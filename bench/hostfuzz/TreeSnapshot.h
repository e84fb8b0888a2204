// What lies in the folders that a test must leave alone: every file and folder with its size and
// time of last change, so that anything added, removed or changed shows. Links count only by
// their presence.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bench {

class TreeSnapshot {
  public:
    // Every folder at the top of the drive ("C:") except the one that holds the test folder,
    // whose path is given; the files at the top of the drive count as test files too.
    static TreeSnapshot OfDriveExcept(const std::string& drive, const std::string& testFolder);

    // Paths added, removed or changed since the earlier snapshot.
    std::vector<std::string> ChangedSince(const TreeSnapshot& earlier) const;

  private:
    struct Entry {
        std::uint64_t size;
        std::uint64_t lastWrite;
        bool operator!=(const Entry& other) const {
            return size != other.size || lastWrite != other.lastWrite;
        }
    };

    void AddTree(const std::string& folder);

    std::map<std::string, Entry> entries;
};

} // namespace bench
