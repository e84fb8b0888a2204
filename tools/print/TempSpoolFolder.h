// VlPrint's spool folder: "VelloraSpool" in the temporary folder, shared by all print jobs,
// each job's files named after its process so that two jobs never meet.
#pragma once

#include "PrintJob.h"

namespace vlprint {

class TempSpoolFolder : public SpoolFolder {
  public:
    TempSpoolFolder();
    // Removes the folder when no job has a file left in it.
    ~TempSpoolFolder() override;
    TempSpoolFolder(const TempSpoolFolder&) = delete;
    TempSpoolFolder& operator=(const TempSpoolFolder&) = delete;

    // False when the folder could not be had.
    bool Ready() const { return !folder.empty(); }
    const std::string& Folder() const { return folder; }

    std::string PathFor(std::size_t index) const override;
    bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    bool Exists(const std::string& path) const override;
    bool Remove(const std::string& path) override;

  private:
    std::string folder;
};

} // namespace vlprint
