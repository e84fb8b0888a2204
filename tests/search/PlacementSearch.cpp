// Every placement, every failure, every moment: the host's own request handling, placement,
// questions, save-file dialog, boxes and move run against the model file system, from the
// driver's request 1281 to the last file call, over every combination of system, paths, files at
// the target's name, part names taken, the user's answers, another program acting while the user
// is asked, and each file call in turn failing with each error it can meet. After every call, as
// if the host were ended there and as if the power went off there, and at the end, it checks
// what the user keeps. A run that breaks a rule is told whole. Prints how many runs it made;
// exits 1 when any run broke a rule.
#include "HostTexts.h"
#include "HostWindow.h"
#include "ModelFileSystem.h"
#include "VelloraNames.h"

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kNewPrint = "the new print's bytes";
const std::string kEarlierPrint = "the earlier print";
const std::string kProducedAtom = "C:\\Spool\\Produced job";
constexpr unsigned long kErrors[] = {32, 5, 112, 2, 3, 64, 17, 120};
constexpr std::size_t kStoriesToTell = 3;

// Where the produced file goes: the output root that the driver sends (the name suffix is
// "000", so the target is the root and ".tif").
struct Layout {
    const char* name;
    const char* root;
    bool onlyNt;
    // The target is the produced file, a device or in a missing folder: nothing is at the
    // target or beside it beforehand.
    bool fixedTarget;
};

const Layout kLayouts[] = {
    {"one folder", "C:\\Spool\\Doc", false, false},
    {"one volume", "C:\\Out\\Doc", false, false},
    {"two volumes", "E:\\Out\\Doc", false, false},
    {"a SUBST letter of the same volume", "S:\\Out\\Doc", false, false},
    {"a share of the local disk", "\\\\PC\\C\\Out\\Doc", false, false},
    {"a folder mounted from another volume", "C:\\Mnt\\Out\\Doc", true, false},
    {"a network share", "\\\\SRV\\Prints\\Out\\Doc", false, false},
    {"a drive with little room", "F:\\Out\\Doc", false, false},
    {"a missing folder", "C:\\Missing\\Doc", false, true},
    {"one file under its short name", "C:\\Spool\\PRODUC~1", false, true},
    {"one file under a SUBST letter", "S:\\Spool\\Produced job", false, true},
    {"one file under a share of the local disk", "\\\\PC\\C\\Spool\\Produced job", false, true},
    {"a device name", "C:\\Out\\prn", false, true},
    {"a device name with spaces", "E:\\Out\\NUL ", false, true},
};

enum class TargetState { nothing, earlierPrint, readOnlyEarlierPrint, folder };
const char* const kTargetStates[] = {"nothing at the target", "an earlier print",
                                     "a read-only earlier print", "a folder at the target"};
enum class PartNames { none, some, all };
const char* const kPartNames[] = {"no part name taken", "two part names taken",
                                  "every part name taken"};

enum class Answer { yes, no, cancel };
enum class Choice { newName, existingName, tooLong, cancel };
struct Script {
    const char* name;
    std::vector<Answer> answers;
    std::vector<Choice> choices;
    // With every part name taken, each run tries all 256 names; the failures of each call are
    // tried with the answers that reach the names on each road, not with every answer.
    bool failuresWithEveryPartTaken;
};
// Once the answers given here run out, the user cancels.
const Script kScripts[] = {
    {"Yes", {Answer::yes}, {}, true},
    {"Yes, Yes", {Answer::yes, Answer::yes}, {}, true},
    {"Yes, Cancel", {Answer::yes, Answer::cancel}, {}, false},
    {"Yes, No and a new name", {Answer::yes, Answer::no}, {Choice::newName}, false},
    {"No and a new name", {Answer::no}, {Choice::newName}, true},
    {"No and an existing name, Yes", {Answer::no, Answer::yes}, {Choice::existingName}, false},
    {"No and an existing name, Cancel",
     {Answer::no, Answer::cancel},
     {Choice::existingName},
     false},
    {"No, an existing name, No and a new name",
     {Answer::no, Answer::no},
     {Choice::existingName, Choice::newName},
     false},
    {"No and a name too long, then a new name",
     {Answer::no},
     {Choice::tooLong, Choice::newName},
     false},
    {"No and the dialog cancelled", {Answer::no}, {Choice::cancel}, false},
    {"Cancel", {Answer::cancel}, {}, false},
};

// What another program does while the user is first asked.
enum class Meanwhile {
    nothing,
    holdsProduced,
    deletesProduced,
    makesTarget,
    makesPart,
    marksReadOnly
};
const char* const kMeanwhile[] = {"nothing else happens",
                                  "another program opens the produced file",
                                  "another program deletes the produced file",
                                  "another program makes a file at the target's name",
                                  "another program makes a file at the first part's name",
                                  "another program marks the target read-only"};

struct Scenario {
    ModelSystem system;
    const Layout* layout;
    TargetState state;
    PartNames parts;
    const Script* script;
    Meanwhile meanwhile;
    int failAt;
    unsigned long failWith;
};

std::string Folder(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

std::string PartName(const std::string& target, unsigned number) {
    const char digits[] = {"0123456789abcdef"[number / 16], "0123456789abcdef"[number % 16], 0};
    return target.substr(0, target.size() - 4) + ".~" + digits;
}

std::string Describe(const Scenario& scenario) {
    std::string text =
        std::string(scenario.system == ModelSystem::windowsNt ? "Windows NT" : "Windows 9x") +
        "; " + scenario.layout->name + " (root " + scenario.layout->root + "); " +
        kTargetStates[static_cast<int>(scenario.state)] + "; " +
        kPartNames[static_cast<int>(scenario.parts)] + "; answers: " + scenario.script->name +
        "; " + kMeanwhile[static_cast<int>(scenario.meanwhile)];
    if (scenario.failAt >= 0) {
        text += "; call " + std::to_string(scenario.failAt) + " fails with error " +
                std::to_string(scenario.failWith);
    }
    return text;
}

// One run: the model set up for the scenario, the host on it, the driver's three requests, and
// the rules checked after every file call and at the end.
class Run final : public HostPlatform {
  public:
    Run(const Scenario& runScenario, std::vector<std::string>* runStory)
        : scenario(runScenario), model(runScenario.system), story(runStory) {
        SetUp();
        model.story = story;
        model.failAt = scenario.failAt;
        model.failWith = scenario.failWith;
        model.mayChange = [this](int id) {
            return protectedFiles.count(id) == 0 || consented.count(id) != 0;
        };
        model.vanishing = producedKey;
        model.vanished = [this] {
            producedDeletedByOther = true;
            Tell("another program deleted the produced file just then");
        };
        model.afterCall = [this] {
            if (model.TakeChanged()) {
                CheckMoment();
            }
        };
    }

    // The faults found; empty when the run kept every rule.
    std::vector<std::string> Go() {
        Send(vellora::HM_SET_OUTPUT_ROOT, scenario.layout->root);
        Send(vellora::HM_SET_NAME_SUFFIX, vellora::kEmptySuffixMarker);
        const std::int32_t result = Send(vellora::HM_PLACE_OUTPUT, kProducedAtom);
        CheckEnd(result);
        for (const std::string& fault : model.faults) {
            faults.push_back(fault);
        }
        return faults;
    }
    int Calls() const { return model.calls; }
    const std::vector<bool>& MiddlePartCalls() const { return model.middlePartCalls; }
    std::string FileList() const {
        std::string text;
        for (const auto& [key, file] : model.Entries()) {
            text += "  " + model.Describe(key) + "\n";
        }
        return text;
    }

    std::string ReadAtomName(std::uint16_t atom) override { return atoms[atom]; }
    void DeleteAtom(std::uint16_t atom) override { atoms.erase(atom); }
    FileCalls& Files() override { return model; }
    SaveDialogAnswer AskForSaveFileName(const std::string&, const std::string&,
                                        std::string& chosenPath) override;
    int ShowMessageBox(const std::string& text, unsigned style) override;
    bool PrinterDriverDirectory(std::string&) override { return false; }
    void RunProgramAndWait(const std::string&) override {}
    void EndProcess(int) override {}
    bool IsLeadByte(unsigned char) const override { return false; }

  private:
    void SetUp();
    std::int32_t Send(unsigned message, const std::string& text);
    void Tell(const std::string& line) {
        if (story != nullptr) {
            story->push_back(line);
        }
    }
    void Fault(const std::string& rule) {
        faults.push_back(rule + (model.calls > 0
                                     ? " (after call " + std::to_string(model.calls - 1) + ")"
                                     : ""));
    }
    void DoMeanwhile();
    void CheckMoment();
    void CheckView(bool afterPowerLoss);
    void CheckEnd(std::int32_t result);
    bool Holds(const ModelKey& key, const std::string& content, bool afterPowerLoss) const;
    bool NewPrintIsSomewhere(bool afterPowerLoss) const;
    std::vector<ModelKey> HostKept() const;
    ModelKey Key(const std::string& path) const {
        ModelKey key{-1, ""};
        model.Resolve(path, key);
        return key;
    }

    const Scenario scenario;
    ModelFileSystem model;
    std::vector<std::string>* story;
    HostWindow host{*this};
    std::map<std::uint16_t, std::string> atoms;
    std::uint16_t nextAtom = 0xC000;
    std::string target;
    std::string producedPath;
    int producedId = 0;
    ModelKey producedKey;
    std::set<ModelKey> targets;
    std::set<int> protectedFiles;
    std::set<int> consented;
    // After Yes: the target's name and the earlier print that was there.
    std::vector<std::pair<ModelKey, std::string>> replaced;
    std::size_t answersGiven = 0;
    std::size_t choicesMade = 0;
    bool asked = false;
    bool cancelled = false;
    bool errorShown = false;
    bool producedDeletedByOther = false;
    std::string boxTexts;
    std::vector<std::string> faults;
};

void Run::SetUp() {
    const bool nt = scenario.system == ModelSystem::windowsNt;
    model.AddRoot("C:\\", 0, false, true);
    model.AddRoot("S:\\", 0, false, true);
    model.AddRoot("\\\\PC\\C\\", 0, true, false);
    model.AddRoot("E:\\", 1, false, true);
    if (nt) {
        model.AddRoot("C:\\Mnt\\", 1, false, true);
    }
    model.AddRoot("\\\\SRV\\Prints\\", 2, true, false);
    model.AddRoot("F:\\", 3, false, true);
    model.SetRoom(3, kNewPrint.size() / 2);
    for (const char* folder :
         {"C:\\Spool", "C:\\Out", "C:\\Mnt", "E:\\Out", "\\\\SRV\\Prints\\Out", "F:\\Out"}) {
        model.AddFolder(folder);
    }
    producedPath = kProducedAtom + vellora::kOutputExtension;
    producedId = model.AddFile(producedPath, kNewPrint);
    producedKey = Key(producedPath);
    model.AddShortName(0, "SPOOL\\PRODUCED JOB.TIF", "SPOOL\\PRODUC~1.TIF");
    target = std::string(scenario.layout->root) + vellora::kOutputExtension;
    const std::string folder = Folder(target);
    targets = {Key(target), Key(folder + "\\New.tif"), Key(folder + "\\Old.tif")};
    if (model.Find(folder) != nullptr) {
        protectedFiles.insert(model.AddFile(folder + "\\Old.tif", "a file of the user's"));
    }
    switch (scenario.state) {
    case TargetState::nothing:
        break;
    case TargetState::earlierPrint:
    case TargetState::readOnlyEarlierPrint:
        protectedFiles.insert(model.AddFile(target, kEarlierPrint));
        model.Find(target)->readOnly = scenario.state == TargetState::readOnlyEarlierPrint;
        break;
    case TargetState::folder:
        model.AddFolder(target);
        protectedFiles.insert(model.Find(target)->id);
        break;
    }
    const unsigned taken = scenario.parts == PartNames::all    ? 256
                           : scenario.parts == PartNames::some ? 2
                                                               : 0;
    for (unsigned number = 0; number < taken; ++number) {
        protectedFiles.insert(model.AddFile(PartName(target, number), "a file of the user's"));
    }
}

std::int32_t Run::Send(unsigned message, const std::string& text) {
    const std::uint16_t atom = nextAtom++;
    atoms[atom] = text;
    Tell("request " + std::to_string(message) + " \"" + text + "\"");
    const std::int32_t result = host.HandleHostMessage(message, atom, 0);
    atoms.erase(atom);
    Tell("request " + std::to_string(message) + " answers " + std::to_string(result));
    return result;
}

void Run::DoMeanwhile() {
    ModelFile* produced = model.Find(producedPath);
    ModelFile* atTarget = model.Find(target);
    switch (scenario.meanwhile) {
    case Meanwhile::nothing:
        break;
    case Meanwhile::holdsProduced:
        if (produced != nullptr) {
            produced->heldOpen = true;
        }
        break;
    case Meanwhile::deletesProduced:
        producedDeletedByOther = produced != nullptr;
        model.Remove(producedPath);
        break;
    case Meanwhile::makesTarget:
        if (atTarget == nullptr && model.Find(Folder(target)) != nullptr) {
            protectedFiles.insert(model.AddFile(target, "another program's file"));
        }
        break;
    case Meanwhile::makesPart:
        if (model.Find(PartName(target, 0)) == nullptr && model.Find(Folder(target)) != nullptr) {
            protectedFiles.insert(model.AddFile(PartName(target, 0), "another program's file"));
        }
        break;
    case Meanwhile::marksReadOnly:
        if (atTarget != nullptr) {
            atTarget->readOnly = true;
        }
        break;
    }
    Tell(kMeanwhile[static_cast<int>(scenario.meanwhile)]);
}

int Run::ShowMessageBox(const std::string& text, unsigned style) {
    if (style != kBoxStyleOverwriteQuestion) {
        errorShown = errorShown || text.rfind("The file could not be renamed: ", 0) == 0;
        boxTexts += Upper(text) + "\n";
        Tell("box: " + text);
        return kButtonOk;
    }
    const std::string start = "A file named\n";
    const std::string asked_about =
        text.substr(start.size(), text.find("\ndoes already exist") - start.size());
    if (!asked) {
        asked = true;
        DoMeanwhile();
    }
    const Answer answer = answersGiven < scenario.script->answers.size()
                              ? scenario.script->answers[answersGiven++]
                              : Answer::cancel;
    const ModelKey key = Key(asked_about);
    targets.insert(key);
    Tell("question about " + asked_about + ": " +
         (answer == Answer::yes  ? "Yes"
          : answer == Answer::no ? "No"
                                 : "Cancel"));
    if (answer == Answer::cancel) {
        cancelled = true;
        return kButtonCancel;
    }
    if (answer == Answer::no) {
        return kButtonNo;
    }
    const auto found = model.Entries().find(key);
    if (found != model.Entries().end()) {
        consented.insert(found->second.id);
        if (!found->second.folder && found->second.id != producedId) {
            replaced.emplace_back(key, found->second.content);
        }
    }
    return kButtonYes;
}

SaveDialogAnswer Run::AskForSaveFileName(const std::string&, const std::string&,
                                         std::string& chosenPath) {
    const Choice choice = choicesMade < scenario.script->choices.size()
                              ? scenario.script->choices[choicesMade++]
                              : Choice::cancel;
    const std::string folder = Folder(target);
    switch (choice) {
    case Choice::newName:
        chosenPath = folder + "\\New";
        break;
    case Choice::existingName:
        chosenPath = folder + "\\Old";
        break;
    case Choice::tooLong:
        chosenPath = folder + "\\" + std::string(300, 'n');
        break;
    case Choice::cancel:
        Tell("dialog cancelled");
        cancelled = true;
        return SaveDialogAnswer::cancelled;
    }
    Tell("dialog: " + chosenPath);
    return SaveDialogAnswer::chosen;
}

bool Run::Holds(const ModelKey& key, const std::string& content, bool afterPowerLoss) const {
    const auto found = model.Entries().find(key);
    return found != model.Entries().end() && !found->second.folder &&
           (afterPowerLoss ? found->second.durable : found->second.content) == content;
}

// Where the host keeps prints: the files it made, and the produced file wherever it is.
std::vector<ModelKey> Run::HostKept() const {
    std::vector<ModelKey> kept(model.MadeByHost().begin(), model.MadeByHost().end());
    if (const ModelKey* produced = model.Location(producedId)) {
        kept.push_back(*produced);
    }
    return kept;
}

bool Run::NewPrintIsSomewhere(bool afterPowerLoss) const {
    for (const ModelKey& key : targets) {
        if (Holds(key, kNewPrint, afterPowerLoss)) {
            return true;
        }
    }
    for (const ModelKey& key : HostKept()) {
        if (Holds(key, kNewPrint, afterPowerLoss)) {
            return true;
        }
    }
    return false;
}

void Run::CheckMoment() {
    CheckView(false);
    CheckView(true);
}

void Run::CheckView(bool afterPowerLoss) {
    const std::string when = afterPowerLoss ? " after a power loss" : " with the host ended";
    for (const ModelKey& key : targets) {
        const auto found = model.Entries().find(key);
        if (found != model.Entries().end() && !found->second.folder &&
            protectedFiles.count(found->second.id) == 0 && !Holds(key, kNewPrint, afterPowerLoss)) {
            Fault("1: the target's name " + key.second + " holds a part of a print" + when);
        }
    }
    for (const auto& [key, earlier] : replaced) {
        bool kept = Holds(key, earlier, afterPowerLoss) || Holds(key, kNewPrint, afterPowerLoss);
        for (const ModelKey& made : HostKept()) {
            kept =
                kept ||
                (made.first == key.first && Folder(made.second) == Folder(key.second) &&
                 (Holds(made, earlier, afterPowerLoss) || Holds(made, kNewPrint, afterPowerLoss)));
        }
        if (!kept) {
            Fault("3: after Yes neither print is whole at " + key.second + " or beside it" + when);
        }
    }
    if (!cancelled && !errorShown && !producedDeletedByOther &&
        !NewPrintIsSomewhere(afterPowerLoss)) {
        Fault("4: the new print is whole nowhere before any box or cancel" + when);
    }
}

void Run::CheckEnd(std::int32_t result) {
    if (!cancelled && !errorShown && !producedDeletedByOther &&
        !Holds(Key(host.targetPath), kNewPrint, false)) {
        Fault("4: the request ended with neither a box nor a cancel, and the new print is not at "
              "the target's name " +
              host.targetPath);
    }
    for (const ModelKey& made : HostKept()) {
        if (made == producedKey || targets.count(made) != 0 ||
            model.DeletionsRefused().count(made) != 0) {
            continue;
        }
        const std::string& content = model.Entries().at(made).content;
        int copies = 0;
        for (const auto& [key, file] : model.Entries()) {
            copies += !file.folder && file.content == content ? 1 : 0;
        }
        bool whole = content == kNewPrint;
        for (const auto& [key, earlier] : replaced) {
            whole = whole || content == earlier;
        }
        if (!whole || copies > 1) {
            Fault("5: a part is left that is not the only whole copy of a print");
        }
        const std::string name = made.second.substr(made.second.rfind('\\') + 1);
        if (content == kNewPrint && boxTexts.find(name + "\n") == std::string::npos) {
            Fault("5: the new print is left in a part that no box names: " + name);
        }
    }
    if (result != 0 && result != 1) {
        Fault("the driver's result is " + std::to_string(result));
    }
    if (result == 1 && !cancelled && model.Find(producedPath) != nullptr) {
        Fault("the driver hears 1 but the produced file was neither discarded nor cancelled");
    }
}

std::vector<Scenario> BaseScenarios() {
    std::vector<Scenario> scenarios;
    for (const ModelSystem system : {ModelSystem::windowsNt, ModelSystem::windows9x}) {
        for (const Layout& layout : kLayouts) {
            if (layout.onlyNt && system != ModelSystem::windowsNt) {
                continue;
            }
            const int states = layout.fixedTarget ? 1 : 4;
            const int partStates = layout.fixedTarget ? 1 : 3;
            for (int state = 0; state < states; ++state) {
                for (int parts = 0; parts < partStates; ++parts) {
                    for (const Script& script : kScripts) {
                        for (int meanwhile = 0; meanwhile < 6; ++meanwhile) {
                            scenarios.push_back({system, &layout, static_cast<TargetState>(state),
                                                 static_cast<PartNames>(parts), &script,
                                                 static_cast<Meanwhile>(meanwhile), -1, 0});
                        }
                    }
                }
            }
        }
    }
    return scenarios;
}

class Search {
  public:
    // Runs the scenario; a run that breaks a rule is run again to tell its story.
    int RunOne(const Scenario& scenario, std::vector<bool>* middlePartCalls) {
        ++runs;
        Run run(scenario, nullptr);
        const std::vector<std::string> faults = run.Go();
        calls += run.Calls();
        if (middlePartCalls != nullptr) {
            *middlePartCalls = run.MiddlePartCalls();
        }
        if (!faults.empty()) {
            Report(scenario, faults);
        }
        return run.Calls();
    }

    // Without another program acting, each call of the run in turn fails with each error.
    void RunWithEveryFailure(const Scenario& base) {
        std::vector<bool> middlePartCalls;
        const int baseCalls = RunOne(base, &middlePartCalls);
        if (base.meanwhile != Meanwhile::nothing ||
            (base.parts == PartNames::all && !base.script->failuresWithEveryPartTaken)) {
            return;
        }
        for (int call = 0; call < baseCalls; ++call) {
            if (middlePartCalls[static_cast<std::size_t>(call)]) {
                continue;
            }
            for (const unsigned long error : kErrors) {
                Scenario failing = base;
                failing.failAt = call;
                failing.failWith = error;
                RunOne(failing, nullptr);
            }
        }
    }

    int Finish() const {
        for (const auto& [kind, count] : faultKinds) {
            std::printf("%6zu runs: %s\n", count, kind.c_str());
        }
        std::printf("Placement search: %zu runs, %zu file calls, %zu runs broke a rule\n", runs,
                    calls, failedRuns);
        std::printf("%zu passed, %zu failed\n", runs - failedRuns, failedRuns);
        return failedRuns == 0 ? 0 : 1;
    }

  private:
    void Report(const Scenario& scenario, const std::vector<std::string>& faults) {
        ++failedRuns;
        const std::string kind = faults.front().substr(0, faults.front().find(" (after call")) +
                                 " [" + (scenario.system == ModelSystem::windowsNt ? "NT" : "9x") +
                                 ", " + scenario.layout->name + "]";
        ++faultKinds[kind];
        if (faultKinds[kind] > 1 || told >= kStoriesToTell * 10) {
            return;
        }
        ++told;
        std::vector<std::string> story;
        Scenario quiet = scenario;
        Run before(quiet, nullptr);
        std::printf("---- %s\nFiles before:\n%s", Describe(scenario).c_str(),
                    before.FileList().c_str());
        Run retold(scenario, &story);
        retold.Go();
        for (const std::string& line : story) {
            std::printf("  %s\n", line.c_str());
        }
        std::printf("Files after:\n%s", retold.FileList().c_str());
        for (const std::string& fault : faults) {
            std::printf("Broken: %s\n", fault.c_str());
        }
    }

    std::size_t runs = 0;
    std::size_t calls = 0;
    std::size_t failedRuns = 0;
    std::size_t told = 0;
    std::map<std::string, std::size_t> faultKinds;
};

} // namespace

int main() {
    Search search;
    for (const Scenario& scenario : BaseScenarios()) {
        search.RunWithEveryFailure(scenario);
    }
    return search.Finish();
}
