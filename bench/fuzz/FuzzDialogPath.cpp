// How a path opens the save-file dialog: a path that ends in a backslash or holds none is the
// folder alone; otherwise it splits at its last backslash, which belongs to neither part.
#include "DialogPath.h"
#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    const DialogPath split = SplitPathForDialog(path);
    const bool folderAlone =
        path.find('\\') == std::string::npos || (!path.empty() && path.back() == '\\');
    if (folderAlone) {
        Require(split.folder == path && split.fileName.empty(),
                "a path without a file name part opens as the folder alone");
        return 0;
    }
    Require(!split.fileName.empty(), "a path with a file name part fills in a file name");
    Require(split.fileName.find('\\') == std::string::npos,
            "the file name is what follows the last backslash");
    Require(split.folder + "\\" + split.fileName == path,
            "folder and file name are the path without the separating backslash");
    return 0;
}
