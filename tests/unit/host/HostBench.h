// A host object on the stand-in platform, driven as the driver drives it: texts in atoms.
#pragma once

#include "FakeHostPlatform.h"
#include "HostWindow.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

class HostBench : public ::testing::Test {
  protected:
    HostBench() {
        platform.AddFolders("c:\\Out");
        platform.AddFolders("c:\\Spool");
    }

    FakeHostPlatform platform;
    HostWindow host{platform};

    std::uint16_t Atom(const std::string& text) {
        const std::uint16_t atom = nextAtom++;
        platform.atoms[atom] = text;
        return atom;
    }
    std::int32_t Send(unsigned message, std::uintptr_t wParam = 0) {
        return host.HandleHostMessage(message, wParam, 0);
    }
    std::int32_t SetRoot(const std::string& root) {
        return Send(vellora::HM_SET_OUTPUT_ROOT, Atom(root));
    }
    std::int32_t SetSuffix(const std::string& suffix) {
        return Send(vellora::HM_SET_NAME_SUFFIX, Atom(suffix));
    }
    // The driver has written the produced file (path + ".tif") and hands it over.
    std::int32_t Place(const std::string& producedPathWithoutExtension) {
        const std::string produced = producedPathWithoutExtension + ".tif";
        if (platform.files.Find(produced) == nullptr) {
            platform.AddFile(produced);
        }
        return Send(vellora::HM_PLACE_OUTPUT, Atom(producedPathWithoutExtension));
    }
    bool Exists(const std::string& path) const { return platform.files.Find(path) != nullptr; }

  private:
    std::uint16_t nextAtom = 0xC000;
};
