// The user of the host fuzz: a thread that answers every box and save-file dialog the host opens,
// any one of those that can be pressed, after a short random delay and with a random choice among
// the buttons it has. A dialog gets a name inside the chosen-names folder, a name with characters
// no path may hold, the longest name a path may have, or Cancel.
#pragma once

#include "FuzzTexts.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace bench {

class BoxAnswerer {
  public:
    // Without save dialogs, the overwrite question is never answered No.
    BoxAnswerer(DWORD hostProcess, std::string chosenNamesFolder, std::uint32_t seed,
                bool saveDialogs);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    int BoxesAnswered() const { return boxes; }
    int DialogsAnswered() const { return dialogs; }

  private:
    void Run();
    void AnswerDue();
    void NoteWindows(const std::vector<HWND>& open, ULONGLONG now);
    bool ReadyForAnswer(HWND window, ULONGLONG now) const;
    void Answer(HWND window);
    void AnswerSaveDialog(HWND dialog);
    void AnswerBox(HWND box);
    std::string ChosenName();

    DWORD process;
    std::string chosenFolder;
    FuzzRandom random;
    bool saveDialogs;
    struct Seen {
        ULONGLONG due;            // when the user has taken it in
        ULONGLONG answeredAt;     // 0 while unanswered
        bool disabledSinceAnswer; // it showed a box of its own after its answer
    };
    std::map<HWND, Seen> windows;
    std::atomic<bool> stop{false};
    std::atomic<int> boxes{0};
    std::atomic<int> dialogs{0};
    std::thread thread;
};

} // namespace bench
