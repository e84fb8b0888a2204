// How a path opens the save-file dialog: a path that ends in a backslash or holds none is the
// folder alone; otherwise it splits at its last backslash, which belongs to neither part. Only
// a backslash that is a character of its own counts, whatever the code page.
#include "DialogPath.h"
#include "FuzzCheck.h"
#include "FuzzCodePage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const FuzzCodePage codePage(input);
    const std::string path = input.ConsumeRemainingBytesAsString();
    const DialogPath split = SplitPathForDialog(path, codePage);
    const std::vector<std::string> characters = codePage.Characters(path);
    const bool folderAlone =
        std::find(characters.begin(), characters.end(), "\\") == characters.end() ||
        characters.back() == "\\";
    if (folderAlone) {
        Require(split.folder == path && split.fileName.empty(),
                "a path without a file name part opens as the folder alone");
        return 0;
    }
    const std::vector<std::string> nameCharacters = codePage.Characters(split.fileName);
    Require(!split.fileName.empty(), "a path with a file name part fills in a file name");
    Require(std::find(nameCharacters.begin(), nameCharacters.end(), "\\") == nameCharacters.end(),
            "the file name is what follows the last backslash");
    Require(split.folder + "\\" + split.fileName == path,
            "folder and file name are the path without the separating backslash");
    return 0;
}
