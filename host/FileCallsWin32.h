// The file calls of a move on Windows, each one system call.
#pragma once

#include "FileMove.h"

class Win32FileCalls final : public FileCalls {
  public:
    Win32FileCalls();
    ~Win32FileCalls() override;
    Win32FileCalls(const Win32FileCalls&) = delete;
    Win32FileCalls& operator=(const Win32FileCalls&) = delete;

    bool HasRenameWithoutCopy() override;
    unsigned long RenameWithoutCopy(const std::string& from, const std::string& to,
                                    ExistingTarget existing) override;
    unsigned long Move(const std::string& from, const std::string& to) override;
    unsigned long CreatePart(const std::string& part) override;
    unsigned long FillPart(const std::string& from) override;
    unsigned long Delete(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool IsReadOnlyOrFolder(const std::string& path) override;
    FileIdentity CompareFiles(const std::string& first, const std::string& second) override;
    FileStamp Stamp(const std::string& path) override;
    std::string FullPath(const std::string& path) override;

  private:
    void ClosePart();

    // The part that CreatePart made, open until FillPart has written it; opaque here so that the
    // host's other files need not see the platform's headers.
    void* part;
};
