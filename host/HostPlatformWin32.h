// The host's platform calls on Windows.
#pragma once

#include "FileCallsWin32.h"
#include "HostPlatform.h"

class Win32HostPlatform final : public HostPlatform {
  public:
    std::string ReadAtomName(std::uint16_t atom) override;
    void DeleteAtom(std::uint16_t atom) override;
    FileCalls& Files() override;
    SaveDialogAnswer AskForSaveFileName(const std::string& folder, const std::string& fileName,
                                        std::string& chosenPath) override;
    int ShowMessageBox(const std::string& text, unsigned style) override;
    bool PrinterDriverDirectory(std::string& directory) override;
    void RunProgramAndWait(const std::string& programPath) override;
    void EndProcess(int exitCode) override;
    bool IsLeadByte(unsigned char byte) const override;

  private:
    Win32FileCalls files;
};
