#include "BoxAnswerer.h"

#include "WineTest.h"

#include <utility>
#include <vector>

namespace bench {

namespace {

constexpr int kFileNameControl = 0x47c; // the save-file dialog's file name combo box
constexpr int kLongestDelayMs = 30;
// A window still open this long after its answer did not take it (a save dialog that only
// applied a name with wildcards as its filter, say) and is answered again. Any sooner, and the
// first answer may still wait in the host's queue: Wine's save dialog faults on a command that
// reaches it after the one that closed it, which no user's click can do.
constexpr ULONGLONG kAgainAfterMs = 3000;
// Wine's save-file dialog copies a typed name into a buffer of MAX_PATH characters without a
// check: a longer name overruns it and brings down the process that shows the dialog. The
// longest name typed here is therefore the longest path there is.
constexpr std::size_t kLongestTypedName = MAX_PATH - 1;

// A user can only press what is shown and enabled: a dialog under a box of its own is not.
std::vector<HWND> OpenHostDialogs(DWORD process) {
    std::vector<HWND> open;
    for (HWND window : winetest::FindTopLevelWindows("#32770", nullptr, process)) {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            open.push_back(window);
        }
    }
    return open;
}

std::string LongestTypedName(const std::string& folder) {
    const std::string start = folder + "\\";
    return start + std::string(kLongestTypedName - start.size(), 'n');
}

} // namespace

BoxAnswerer::BoxAnswerer(DWORD hostProcess, std::string chosenNamesFolder, std::uint32_t seed,
                         bool withSaveDialogs)
    : process(hostProcess), chosenFolder(std::move(chosenNamesFolder)), random(seed),
      saveDialogs(withSaveDialogs), thread([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    stop = true;
    thread.join();
}

void BoxAnswerer::Run() {
    while (!stop) {
        AnswerDue();
        Sleep(10);
    }
}

// The user answers one of the windows that can be pressed, chosen at random, each after a
// moment's thought from when it appeared. Always taking the one in front would starve an older
// box: a new one opens on top every few milliseconds while the senders keep going, and the
// overwrite question, task-modal, disables every older box while it is open. A window that
// stays open after its answer is answered again once it has shown a box of its own (it was
// disabled meanwhile) or after a while.
void BoxAnswerer::AnswerDue() {
    const ULONGLONG now = GetTickCount64();
    const std::vector<HWND> open = OpenHostDialogs(process);
    NoteWindows(open, now);
    std::vector<HWND> ready;
    for (HWND window : open) {
        if (ReadyForAnswer(window, now)) {
            ready.push_back(window);
        }
    }
    if (ready.empty()) {
        return;
    }
    const HWND choice =
        ready[static_cast<std::size_t>(random.Below(static_cast<int>(ready.size())))];
    Answer(choice);
    Seen& seen = windows[choice];
    seen.answeredAt = now;
    seen.disabledSinceAnswer = false;
}

// Notes each window of the host when it first appears, when it gets disabled, and forgets it
// once it is gone.
void BoxAnswerer::NoteWindows(const std::vector<HWND>& open, ULONGLONG now) {
    for (auto entry = windows.begin(); entry != windows.end();) {
        if (!IsWindow(entry->first)) {
            entry = windows.erase(entry);
            continue;
        }
        entry->second.disabledSinceAnswer |= IsWindowEnabled(entry->first) == FALSE;
        ++entry;
    }
    for (HWND window : open) {
        if (windows.find(window) == windows.end()) {
            windows[window] =
                Seen{now + static_cast<ULONGLONG>(random.Below(kLongestDelayMs + 1)), 0, false};
        }
    }
}

bool BoxAnswerer::ReadyForAnswer(HWND window, ULONGLONG now) const {
    const Seen& seen = windows.at(window);
    if (now < seen.due) {
        return false;
    }
    return seen.answeredAt == 0 || seen.disabledSinceAnswer ||
           now >= seen.answeredAt + kAgainAfterMs;
}

void BoxAnswerer::Answer(HWND window) {
    if (GetDlgItem(window, kFileNameControl)) {
        AnswerSaveDialog(window);
        ++dialogs;
    } else {
        AnswerBox(window);
        ++boxes;
    }
}

void BoxAnswerer::AnswerSaveDialog(HWND dialog) {
    if (random.Chance(40)) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    const std::string name = ChosenName();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, kFileNameControl), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(name.c_str()), SMTO_NORMAL, 5000, &result);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

std::string BoxAnswerer::ChosenName() {
    const int kind = random.Below(10);
    if (kind == 0) {
        return LongestTypedName(chosenFolder);
    }
    if (kind <= 2) {
        return random.PathInside(chosenFolder);
    }
    return chosenFolder + "\\name" + std::to_string(random.Below(1000));
}

void BoxAnswerer::AnswerBox(HWND box) {
    if (random.Chance(5)) {
        PostMessageA(box, WM_CLOSE, 0, 0);
        return;
    }
    std::vector<int> buttons;
    for (int button : {IDOK, IDCANCEL, IDYES, IDNO}) {
        if (GetDlgItem(box, button) && (saveDialogs || button != IDNO)) {
            buttons.push_back(button);
        }
    }
    if (!buttons.empty()) {
        PostMessageA(box, WM_COMMAND,
                     static_cast<WPARAM>(buttons[random.Below(static_cast<int>(buttons.size()))]),
                     0);
    }
}

} // namespace bench
