// The user of the host fuzz: a thread that answers every box and save-file dialog the host opens,
// the one in front first, after a short random delay and with a random choice among the buttons
// it has. A dialog gets a
// name inside the chosen-names folder, a name with characters no path may hold, the longest name
// a path may have, or Cancel.
#pragma once

#include "FuzzTexts.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

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
    void NoteDisabledWindows();
    void Answer(HWND window);
    void AnswerSaveDialog(HWND dialog);
    void AnswerBox(HWND box);
    std::string ChosenName();

    DWORD process;
    std::string chosenFolder;
    FuzzRandom random;
    bool saveDialogs;
    struct Answered {
        ULONGLONG at;
        bool disabledSince; // it showed a box of its own after its answer
    };

    HWND front = nullptr;
    ULONGLONG due = 0; // when the window in front may get its answer
    std::map<HWND, Answered> answered;
    std::atomic<bool> stop{false};
    std::atomic<int> boxes{0};
    std::atomic<int> dialogs{0};
    std::thread thread;
};

} // namespace bench
