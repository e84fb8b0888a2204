// Every placement, every failure, every moment: the host's own request handling, placement,
// questions, save-file dialog, boxes and move run against the model file system, from the
// driver's request 1281 to the last file call, over every combination of system, code page,
// paths, files at the target's name, part names taken, the user's answers, another program
// acting while the user is asked, and file calls failing with each error they can meet, one at a
// time or two after a Yes. After every call, as if the host were ended there and as if the power
// went off there, and at the end, it checks what the user keeps. A run that breaks a rule is told
// whole. Prints how many runs it made; exits 1 when any run broke a rule.
#include "CodePageText.h"
#include "HostTexts.h"
#include "HostWindow.h"
#include "ModelFileSystem.h"
#include "VelloraNames.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kNewPrint = "the new print's bytes";
const std::string kSecondPrint = "the second print's bytes";
const std::string kEarlierPrint = "the earlier print";
const std::string kUsersFile = "a file of the user's";
constexpr unsigned long kErrors[] = {32, 5, 112, 2, 3, 64, 17, 120};
// Two failures after a Yes meet with these errors: a file held, refused, a full drive, gone.
constexpr unsigned long kPairErrors[] = {32, 5, 112, 2};
constexpr std::size_t kStoriesTold = 30;

struct SingleByte final : LeadByteRule {
    bool IsLeadByte(unsigned char) const override { return false; }
};
struct ShiftJis final : LeadByteRule {
    bool IsLeadByte(unsigned char byte) const override {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
};
const SingleByte kSingleByte;
const ShiftJis kShiftJis;

// A code page, and what stands in each folder's and file's name in it: in code page 932
// "\x95\x5C", one character whose second byte is that of "\".
struct CodePage {
    const char* name;
    const LeadByteRule* rule;
    const char* mark;
};
const CodePage kCodePages[] = {{"code page 1252", &kSingleByte, ""},
                               {"code page 932", &kShiftJis, "\x95\x5C"}};

// Where the produced file goes: the output root that the driver sends (the name suffix is
// "000", so the target is the root and ".tif"). "~" stands for the code page's mark.
struct Layout {
    const char* name;
    const char* root;
    // The target is the produced file, a device, in a missing folder, or already set: nothing
    // else is at the target or beside it beforehand.
    bool fixedTarget;
    // Nothing there keeps a Yes from placing the new print.
    bool yesCanSucceed;
    // The produced file's path without ".tif"; the spool folder's by default.
    const char* produced;
    // The name suffix that the driver sends; none by default.
    const char* suffix;
};

const char* const kProducedAtom = "C:\\Spool~\\Produced job~";

const Layout kLayouts[] = {
    {"one folder", "C:\\Spool~\\Doc~", false, true, nullptr, nullptr},
    {"one volume", "C:\\Out~\\Doc~", false, true, nullptr, nullptr},
    {"two volumes", "E:\\Out~\\Doc~", false, true, nullptr, nullptr},
    {"a SUBST letter of the same volume", "S:\\Out~\\Doc~", false, true, nullptr, nullptr},
    {"a share of the local disk", "\\\\PC\\C\\Out~\\Doc~", false, true, nullptr, nullptr},
    {"a folder of C: linked to another file system", "C:\\Linked\\Out~\\Doc~", false, true, nullptr,
     nullptr},
    {"a network share", "\\\\SRV\\Prints\\Out~\\Doc~", false, true, nullptr, nullptr},
    {"a drive with little room", "F:\\Out~\\Doc~", false, false, nullptr, nullptr},
    {"a read-only drive", "G:\\Out~\\Doc~", false, false, nullptr, nullptr},
    {"a drive without a free entry", "H:\\Out~\\Doc~", false, false, nullptr, nullptr},
    {"a missing folder", "C:\\Missing~\\Doc~", true, false, nullptr, nullptr},
    {"a root that goes up a folder and down again", "C:\\Spool~\\..\\Out~\\Doc~", false, true,
     nullptr, nullptr},
    {"the produced file under its short name", "C:\\Spool~\\PRODUC~1", true, true, nullptr,
     nullptr},
    {"the produced file under a SUBST letter", "S:\\Spool~\\Produced job~", true, true, nullptr,
     nullptr},
    {"the produced file under a share of the local disk", "\\\\PC\\C\\Spool~\\Produced job~", true,
     true, nullptr, nullptr},
    {"the produced file under a second link", "C:\\Out~\\Link~", true, true, nullptr, nullptr},
    {"a file of the user's that differs from the produced file's name in case",
     "C:\\Spool~\\PRODUCED JOB~", true, true, nullptr, nullptr},
    {"a symbolic link at the target's name to a file of the user's", "C:\\Out~\\Pointer~", true,
     true, nullptr, nullptr},
    {"a device name", "C:\\Out~\\prn", true, false, nullptr, nullptr},
    {"a device name with spaces", "E:\\Out~\\NUL ", true, false, nullptr, nullptr},
    {"a device name with a superscript digit", "C:\\Out~\\com\xB9", true, false, nullptr, nullptr},
    {"a device name before a colon", "C:\\Out~\\", true, false, nullptr, "NUL:x"},
    {"a device name after a slash", "C:\\Out~\\", true, false, nullptr, "x/aux"},
    {"a stream of a file", "C:\\Out~\\", true, false, nullptr, "Doc~:x"},
    {"a wildcard", "C:\\Out~\\", true, false, nullptr, "Doc*"},
    {"a produced file named as a device", "C:\\Out~\\Doc~", true, false, "C:\\Spool~\\NUL",
     nullptr},
    {"a produced file in the system's namespace of devices", "C:\\Out~\\Doc~", true, false,
     "\\\\.\\C:\\Spool~\\Produced job~", nullptr},
    {"a produced path that is no full path", "C:\\Out~\\Doc~", true, false, "Spool~\\Produced job~",
     nullptr},
};

enum class TargetState { nothing, earlierPrint, readOnlyEarlierPrint, folder };
const char* const kTargetStates[] = {"nothing at the target", "an earlier print",
                                     "a read-only earlier print", "a folder at the target"};
enum class PartNames { none, some, all };
const char* const kPartNames[] = {"no part name taken", "two part names taken",
                                  "every part name taken"};

enum class Answer { yes, no, cancel };
enum class DialogChoice { newName, existingName, tooLong, cancel };
struct Script {
    const char* name;
    std::vector<Answer> answers;
    std::vector<DialogChoice> choices;
    // The scripts that meet each failure also while another program acts, and with every part
    // name taken (each run then tries all 256 names).
    bool everyFailureEverywhere;
};
// Once the answers given here run out, the user cancels.
const Script kScripts[] = {
    {"Yes", {Answer::yes}, {}, true},
    {"Yes, Yes", {Answer::yes, Answer::yes}, {}, true},
    {"Yes, Cancel", {Answer::yes, Answer::cancel}, {}, false},
    {"Yes, No and a new name", {Answer::yes, Answer::no}, {DialogChoice::newName}, false},
    {"No and a new name", {Answer::no}, {DialogChoice::newName}, true},
    {"No and an existing name, Yes",
     {Answer::no, Answer::yes},
     {DialogChoice::existingName},
     false},
    {"No and an existing name, Cancel",
     {Answer::no, Answer::cancel},
     {DialogChoice::existingName},
     false},
    {"No, an existing name, No and a new name",
     {Answer::no, Answer::no},
     {DialogChoice::existingName, DialogChoice::newName},
     false},
    {"No and a name too long, then a new name",
     {Answer::no},
     {DialogChoice::tooLong, DialogChoice::newName},
     false},
    {"No and the dialog cancelled", {Answer::no}, {DialogChoice::cancel}, false},
    {"Cancel", {Answer::cancel}, {}, true},
};

// What another program does while the user is first asked.
enum class Meanwhile {
    nothing,
    holdsProduced,
    holdsProducedSharingDeletion,
    deletesProduced,
    makesTarget,
    replacesTarget,
    holdsTarget,
    makesPart,
    marksReadOnly,
    placesSecondPrint,
    placesPrintElsewhere,
};
const char* const kMeanwhile[] = {
    "nothing else happens",
    "another program opens the produced file",
    "another program opens the produced file, sharing its deletion",
    "another program deletes the produced file",
    "another program makes a file at the target's name",
    "another program puts a file of its own at the target's name",
    "another program opens the file at the target's name",
    "another program makes a file at the first part's name",
    "another program marks the target read-only",
    "a second print for the target arrives and is placed after its own Yes",
    "a second print for another target arrives and is placed",
};
constexpr int kMeanwhileCount = 11;

struct Scenario {
    ModelSystem system;
    const CodePage* codePage;
    const Layout* layout;
    TargetState state;
    PartNames parts;
    const Script* script;
    Meanwhile meanwhile;
    std::map<int, unsigned long> failures;
};

// The text with each "~" replaced by the code page's mark.
std::string Marked(const std::string& text, const CodePage& codePage) {
    std::string marked;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool mark =
            text[at] == '~' && (at + 1 == text.size() || text[at + 1] < '0' || text[at + 1] > '9');
        marked += mark ? std::string(codePage.mark) : std::string(1, text[at]);
    }
    return marked;
}

std::string Describe(const Scenario& scenario) {
    std::string text =
        std::string(scenario.system == ModelSystem::windowsNt ? "Windows NT" : "Windows 9x") +
        ", " + scenario.codePage->name + "; " + scenario.layout->name + " (root " +
        Marked(scenario.layout->root, *scenario.codePage) + "); " +
        kTargetStates[static_cast<int>(scenario.state)] + "; " +
        kPartNames[static_cast<int>(scenario.parts)] + "; answers: " + scenario.script->name +
        "; " + kMeanwhile[static_cast<int>(scenario.meanwhile)];
    for (const auto& [call, error] : scenario.failures) {
        text += "; call " + std::to_string(call) + " fails with error " + std::to_string(error);
    }
    return text;
}

// One run: the model set up for the scenario, the host on it, the driver's three requests, and
// the rules checked after every file call and at the end.
class Run final : public HostPlatform {
  public:
    // A run of the scenario on the files that `prepared`, a run of the same layout that has not
    // gone, set up; on its own files when there is none.
    Run(const Scenario& runScenario, std::vector<std::string>* runStory,
        const Run* prepared = nullptr)
        : scenario(runScenario),
          model(prepared != nullptr ? ModelFileSystem(prepared->model, *this)
                                    : ModelFileSystem(runScenario.system, *this)),
          story(runStory) {
        for (int byte = 0; byte < 256; ++byte) {
            leadBytes[byte] = scenario.codePage->rule->IsLeadByte(static_cast<unsigned char>(byte));
        }
        if (prepared != nullptr) {
            TakePrepared(*prepared);
        } else {
            SetUp();
        }
        model.story = story;
        model.failures = scenario.failures;
        model.mayChange = [this](int id) {
            return protectedFiles.count(id) == 0 || consented.count(id) != 0;
        };
        model.vanishing = Key(producedPath);
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
        Send(vellora::HM_SET_OUTPUT_ROOT, Marked(scenario.layout->root, *scenario.codePage));
        Send(vellora::HM_SET_NAME_SUFFIX, scenario.layout->suffix != nullptr
                                              ? M(scenario.layout->suffix)
                                              : std::string(vellora::kEmptySuffixMarker));
        const std::int32_t result = Send(vellora::HM_PLACE_OUTPUT, producedAtom);
        CheckEnd(result);
        for (const std::string& fault : model.faults) {
            faults.push_back(fault);
        }
        return faults;
    }
    int Calls() const { return model.calls; }
    int CallsBeforeYes() const { return callsBeforeYes; }
    const std::vector<bool>& MiddlePartCalls() const { return model.middlePartCalls; }
    std::string FileList() const {
        std::string text;
        for (const auto& [key, file] : model.Names()) {
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
    bool IsLeadByte(unsigned char byte) const override { return leadBytes[byte]; }

  private:
    void SetUp();
    void TakePrepared(const Run& prepared) {
        producedAtom = prepared.producedAtom;
        target = prepared.target;
        producedPath = prepared.producedPath;
        producedId = prepared.producedId;
        targets = prepared.targets;
        ownTargets = prepared.ownTargets;
        printTarget = prepared.printTarget;
        protectedFiles = prepared.protectedFiles;
    }
    void SetUpDrives();
    void SetUpTarget();
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
    std::string M(const std::string& text) const { return Marked(text, *scenario.codePage); }
    std::string Suffix() const {
        return scenario.layout->suffix != nullptr ? M(scenario.layout->suffix) : "";
    }
    std::string Folder(const std::string& path) const {
        return path.substr(0, FindLastCharacter(path, '\\', *this));
    }
    std::string PartName(unsigned number) const {
        const char digits[] = {"0123456789abcdef"[number / 16], "0123456789abcdef"[number % 16], 0};
        return target.substr(0, target.size() - 4) + ".~" + digits;
    }
    int AddProtected(const std::string& path, const std::string& content) {
        const int id = model.AddFile(path, content);
        protectedFiles.insert(id);
        return id;
    }
    void DoMeanwhile();
    void PlaceSecondPrint(const std::string& suffix);
    void CheckMoment();
    void CheckView(bool afterPowerLoss);
    void CheckEnd(std::int32_t result);
    void CheckParts();
    bool Holds(const ModelKey& key, const std::string& content, bool afterPowerLoss) const;
    bool NewPrintIsSomewhere(bool afterPowerLoss) const;
    bool HostHoldsCopy(bool afterPowerLoss) const;
    std::vector<ModelKey> HostKept() const;
    ModelKey Key(const std::string& path) const {
        ModelKey key{-1, ""};
        model.Resolve(path, key);
        return key;
    }
    bool YesCouldSucceed() const;

    const Scenario scenario;
    bool leadBytes[256];
    ModelFileSystem model;
    std::vector<std::string>* story;
    HostWindow host{*this};
    std::map<std::uint16_t, std::string> atoms;
    std::uint16_t nextAtom = 0xC000;
    std::string producedAtom;
    std::string target;
    std::string producedPath;
    int producedId = 0;
    std::set<ModelKey> targets;
    // The paths that the questions of this print may be about, and the one it is to go to now.
    std::set<std::string> ownTargets;
    std::string printTarget;
    std::set<int> protectedFiles;
    std::set<int> consented;
    // After Yes: the path asked about and the earlier print that was there.
    std::vector<std::pair<std::string, std::string>> replaced;
    std::size_t answersGiven = 0;
    std::size_t choicesMade = 0;
    int nesting = 0;
    int nestedYes = 0;
    int callsBeforeYes = -1;
    bool asked = false;
    bool cancelled = false;
    bool errorShown = false;
    bool producedDeletedByOther = false;
    // Once a copy of the host's own was the only whole one of the new print, in each view, the
    // print is the host's to keep: no box, cancel or other program excuses its loss any more.
    bool hostKeepsPrint[2] = {false, false};
    std::string boxTexts;
    std::vector<std::string> faults;
};

void Run::SetUpDrives() {
    model.AddRoot("C:\\", 0);
    model.AddRoot("S:\\", 0);
    model.AddRoot("\\\\PC\\C\\", 0, true);
    model.AddRoot("E:\\", 1);
    model.AddRoot("C:\\Linked\\", 4);
    model.AddRoot("\\\\SRV\\Prints\\", 2, true);
    model.AddRoot("F:\\", 3);
    model.AddRoot("G:\\", 5);
    model.AddRoot("H:\\", 6);
    model.Volume(3).room = kNewPrint.size() / 2;
    for (const char* folder :
         {"C:\\Spool~", "C:\\Out~", "C:\\Docs~", "E:\\Out~", "C:\\Linked\\Out~",
          "\\\\SRV\\Prints\\Out~", "F:\\Out~", "G:\\Out~", "H:\\Out~"}) {
        model.AddFolder(M(folder));
    }
}

void Run::SetUp() {
    SetUpDrives();
    producedAtom =
        M(scenario.layout->produced != nullptr ? scenario.layout->produced : kProducedAtom);
    producedPath = producedAtom + vellora::kOutputExtension;
    const std::string made = M(kProducedAtom) + vellora::kOutputExtension;
    producedId = model.AddFile(made, kNewPrint);
    model.AddShortName(made, M("C:\\Spool~\\PRODUC~1.TIF"));
    if (std::string(scenario.layout->name).find("second link") != std::string::npos) {
        model.AddLink(M("C:\\Out~\\Link~.tif"), made);
    }
    target = M(scenario.layout->root) + Suffix() + vellora::kOutputExtension;
    ownTargets = {target};
    printTarget = target;
    targets = {Key(target), Key(Folder(target) + "\\New.tif"), Key(Folder(target) + "\\Old.tif")};
    if (model.Find(Folder(target)) != nullptr) {
        AddProtected(Folder(target) + "\\Old.tif", kUsersFile);
    }
    SetUpTarget();
    model.Volume(5).readOnly = true;
    std::size_t entries = 0;
    for (const auto& [key, file] : model.Names()) {
        entries += key.first == 6 ? 1 : 0;
    }
    model.Volume(6).freeEntries = entries;
}

void Run::SetUpTarget() {
    const std::string layout = scenario.layout->name;
    if (layout.find("differs from the produced file's name in case") != std::string::npos) {
        AddProtected(target, kUsersFile);
    }
    if (layout.find("symbolic link") != std::string::npos) {
        AddProtected(M("C:\\Docs~\\Mine.tif"), kUsersFile);
        model.AddSymbolicLink(target, M("C:\\Docs~\\Mine.tif"));
    }
    switch (scenario.state) {
    case TargetState::nothing:
        break;
    case TargetState::earlierPrint:
    case TargetState::readOnlyEarlierPrint:
        AddProtected(target, kEarlierPrint);
        model.Find(target)->readOnly = scenario.state == TargetState::readOnlyEarlierPrint;
        break;
    case TargetState::folder:
        protectedFiles.insert(model.AddFolder(target));
        break;
    }
    const unsigned taken = scenario.parts == PartNames::all    ? 256
                           : scenario.parts == PartNames::some ? 2
                                                               : 0;
    for (unsigned number = 0; number < taken; ++number) {
        AddProtected(PartName(number), kUsersFile);
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

// The second print goes through the host's own requests while the first question waits; its
// questions are answered Yes. Once placed it is the user's print like any other.
void Run::PlaceSecondPrint(const std::string& suffix) {
    const std::string second = M("C:\\Spool~\\Second job~");
    if (model.Find(Folder(target)) == nullptr) {
        return;
    }
    model.AddFile(second + vellora::kOutputExtension, kSecondPrint);
    ++nesting;
    Send(vellora::HM_SET_NAME_SUFFIX, suffix);
    Send(vellora::HM_PLACE_OUTPUT, second);
    --nesting;
    targets.insert(Key(host.targetPath));
    const ModelFile* placed = model.Find(host.targetPath);
    if (placed != nullptr && placed->content == kSecondPrint) {
        protectedFiles.insert(placed->id);
    }
}

void Run::DoMeanwhile() {
    ModelFile* produced = model.Locations(producedId).empty() ? nullptr : model.Find(producedPath);
    ModelFile* atTarget = model.Find(target);
    const bool targetFolder = model.Find(Folder(target)) != nullptr;
    Tell(kMeanwhile[static_cast<int>(scenario.meanwhile)]);
    switch (scenario.meanwhile) {
    case Meanwhile::nothing:
        break;
    case Meanwhile::holdsProduced:
    case Meanwhile::holdsProducedSharingDeletion:
        if (produced != nullptr) {
            produced->heldSharing = scenario.meanwhile == Meanwhile::holdsProduced
                                        ? kShareRead
                                        : kShareRead | kShareDelete;
        }
        break;
    case Meanwhile::deletesProduced:
        if (produced != nullptr) {
            model.Remove(producedPath);
        }
        break;
    case Meanwhile::makesTarget:
        if (atTarget == nullptr && targetFolder) {
            AddProtected(target, "another program's file");
        }
        break;
    case Meanwhile::replacesTarget:
        if (atTarget != nullptr && !atTarget->folder && targetFolder) {
            model.Remove(target);
            AddProtected(target, "another program's file");
        }
        break;
    case Meanwhile::holdsTarget:
        if (atTarget != nullptr && !atTarget->folder) {
            atTarget->heldSharing = kShareRead;
        }
        break;
    case Meanwhile::makesPart:
        if (model.Find(PartName(0)) == nullptr && targetFolder) {
            AddProtected(PartName(0), "another program's file");
        }
        break;
    case Meanwhile::marksReadOnly:
        if (atTarget != nullptr) {
            atTarget->readOnly = true;
        }
        break;
    case Meanwhile::placesSecondPrint:
        PlaceSecondPrint(vellora::kEmptySuffixMarker);
        break;
    case Meanwhile::placesPrintElsewhere:
        PlaceSecondPrint("Second");
        break;
    }
    producedDeletedByOther = producedDeletedByOther || model.Locations(producedId).empty();
}

int Run::ShowMessageBox(const std::string& text, unsigned style) {
    if (style != kBoxStyleOverwriteQuestion) {
        errorShown =
            errorShown || (nesting == 0 && text.rfind("The file could not be renamed: ", 0) == 0);
        boxTexts += text + "\n";
        Tell("box: " + text);
        return kButtonOk;
    }
    const std::string start = "A file named\n";
    const std::string askedAbout =
        text.substr(start.size(), text.find("\ndoes already exist") - start.size());
    const ModelKey key = Key(askedAbout);
    targets.insert(key);
    if (nesting > 0 && nestedYes++ < 2) {
        Tell("the second print's question about " + askedAbout + ": Yes");
        const ModelFile* there = model.FileAt(key);
        if (there != nullptr) {
            consented.insert(there->id);
        }
        return kButtonYes;
    }
    if (nesting > 0) {
        Tell("the second print's question about " + askedAbout + ": Cancel");
        return kButtonCancel;
    }
    if (ownTargets.count(askedAbout) == 0) {
        Fault("a question about " + askedAbout + ", which is not this print's target");
    }
    if (!asked) {
        asked = true;
        DoMeanwhile();
    }
    const Answer answer = answersGiven < scenario.script->answers.size()
                              ? scenario.script->answers[answersGiven++]
                              : Answer::cancel;
    Tell("question about " + askedAbout + ": " +
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
    if (callsBeforeYes < 0) {
        callsBeforeYes = model.calls;
    }
    const ModelFile* there = model.Find(askedAbout);
    if (there != nullptr) {
        consented.insert(there->id);
        if (!there->folder && there->id != producedId) {
            replaced.emplace_back(askedAbout, there->content);
        }
    }
    return kButtonYes;
}

SaveDialogAnswer Run::AskForSaveFileName(const std::string&, const std::string&,
                                         std::string& chosenPath) {
    const DialogChoice choice = choicesMade < scenario.script->choices.size()
                                    ? scenario.script->choices[choicesMade++]
                                    : DialogChoice::cancel;
    const std::string folder = Folder(target);
    switch (choice) {
    case DialogChoice::newName:
        chosenPath = folder + "\\New";
        break;
    case DialogChoice::existingName:
        chosenPath = folder + "\\Old";
        break;
    case DialogChoice::tooLong:
        chosenPath = folder + "\\" + std::string(300, 'n');
        break;
    case DialogChoice::cancel:
        Tell("dialog cancelled");
        cancelled = true;
        return SaveDialogAnswer::cancelled;
    }
    Tell("dialog: " + chosenPath);
    // A name chosen after No takes the name suffix that is the host's then, as the driver's
    // requests may have set it while the user was asked.
    printTarget = chosenPath + host.nameSuffix + vellora::kOutputExtension;
    ownTargets.insert(printTarget);
    return SaveDialogAnswer::chosen;
}

// A name being deleted holds nothing once the other program closes the file.
bool Run::Holds(const ModelKey& key, const std::string& content, bool afterPowerLoss) const {
    const ModelFile* file = model.FileAt(key);
    return file != nullptr && !file->folder && !model.IsBeingDeleted(key) &&
           (afterPowerLoss ? file->durable : file->content) == content;
}

// Where the host keeps prints: the files it made, and the produced file wherever it is.
std::vector<ModelKey> Run::HostKept() const {
    const std::set<ModelKey> made = model.MadeByHost();
    std::vector<ModelKey> kept(made.begin(), made.end());
    for (const ModelKey& produced : model.Locations(producedId)) {
        kept.push_back(produced);
    }
    return kept;
}

bool Run::HostHoldsCopy(bool afterPowerLoss) const {
    for (const ModelKey& key : model.MadeByHost()) {
        if (Holds(key, kNewPrint, afterPowerLoss)) {
            return true;
        }
    }
    return false;
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
        const ModelFile* file = model.FileAt(key);
        const std::string& held = file == nullptr  ? kNewPrint
                                  : afterPowerLoss ? file->durable
                                                   : file->content;
        if (file != nullptr && !file->folder && protectedFiles.count(file->id) == 0 &&
            held != kNewPrint && held != kSecondPrint) {
            Fault("1: the target's name " + key.second + " holds a part of a print" + when);
        }
    }
    for (const auto& [path, earlier] : replaced) {
        ModelKey key;
        model.NameOf(path, key);
        ModelKey followed = Key(path);
        bool kept =
            Holds(followed, earlier, afterPowerLoss) || Holds(followed, kNewPrint, afterPowerLoss);
        for (const ModelKey& made : HostKept()) {
            kept =
                kept ||
                (made.first == key.first && Folder(made.second) == Folder(key.second) &&
                 (Holds(made, earlier, afterPowerLoss) || Holds(made, kNewPrint, afterPowerLoss)));
        }
        if (!kept) {
            Fault("3: after Yes neither print is whole at " + path + " or beside it" + when);
        }
    }
    bool producedHolds = false;
    for (const ModelKey& produced : model.Locations(producedId)) {
        producedHolds = producedHolds || Holds(produced, kNewPrint, afterPowerLoss);
    }
    bool& keeper = hostKeepsPrint[afterPowerLoss ? 1 : 0];
    keeper = keeper || (!producedHolds && HostHoldsCopy(afterPowerLoss));
    const bool excused = !keeper && (cancelled || errorShown || producedDeletedByOther ||
                                     consented.count(producedId) != 0);
    if (!excused && !NewPrintIsSomewhere(afterPowerLoss)) {
        Fault(std::string("4: the new print is whole nowhere") +
              (keeper ? " after the host kept its only copy" : " before any box or cancel") + when);
    }
}

bool Run::YesCouldSucceed() const {
    return scenario.layout->yesCanSucceed && scenario.failures.empty() &&
           scenario.meanwhile == Meanwhile::nothing && scenario.parts != PartNames::all &&
           scenario.script->answers.front() == Answer::yes &&
           (scenario.state == TargetState::nothing || scenario.state == TargetState::earlierPrint);
}

void Run::CheckEnd(std::int32_t result) {
    model.ReleaseAll();
    targets.insert(Key(printTarget));
    const bool atTarget = Holds(Key(printTarget), kNewPrint, false);
    if (!cancelled && !errorShown && !producedDeletedByOther && !atTarget) {
        Fault("4: the request ended with neither a box nor a cancel, and the new print is not at "
              "the target's name " +
              printTarget);
    }
    if (YesCouldSucceed() && (!atTarget || errorShown || result != 0)) {
        Fault("6: after a Yes that nothing stood in the way of, the new print is not in place");
    }
    CheckParts();
    if (result != 0 && result != 1) {
        Fault("the driver's result is " + std::to_string(result));
    }
    if (result == 1 && !cancelled && !model.Locations(producedId).empty()) {
        Fault("the driver hears 1 but the produced file was neither discarded nor cancelled");
    }
    if (result == 0 && !errorShown && !cancelled && !producedDeletedByOther && !atTarget) {
        Fault("the driver hears 0 without a box but the new print is not at the target's name");
    }
}

// A part left at the end holds a whole print, and a box names it.
void Run::CheckParts() {
    const std::vector<ModelKey> produced = model.Locations(producedId);
    for (const ModelKey& made : HostKept()) {
        if (std::find(produced.begin(), produced.end(), made) != produced.end() ||
            targets.count(made) != 0 || model.DeletionsRefused().count(made) != 0) {
            continue;
        }
        const std::string& content = model.FileAt(made)->content;
        bool whole = content == kNewPrint || content == kSecondPrint;
        for (const auto& [key, earlier] : replaced) {
            whole = whole || content == earlier;
        }
        if (!whole) {
            Fault("5: a part is left that is not a whole print");
        }
        const std::string name =
            made.second.substr(FindLastCharacter(made.second, '\\', *this) + 1);
        if (content == kNewPrint && boxTexts.find(name + "\n") == std::string::npos) {
            Fault("5: the new print is left in a part that no box names: " + name);
        }
    }
}

std::vector<Scenario> BaseScenarios(const CodePage& codePage, bool everyScript) {
    std::vector<Scenario> scenarios;
    for (const ModelSystem system : {ModelSystem::windowsNt, ModelSystem::windows9x}) {
        for (const Layout& layout : kLayouts) {
            const int states = layout.fixedTarget ? 1 : 4;
            const int partStates = layout.fixedTarget ? 1 : 3;
            for (int state = 0; state < states; ++state) {
                for (int parts = 0; parts < partStates; ++parts) {
                    for (const Script& script : kScripts) {
                        if (!everyScript && !script.everyFailureEverywhere) {
                            continue;
                        }
                        for (int meanwhile = 0; meanwhile < (everyScript ? kMeanwhileCount : 1);
                             ++meanwhile) {
                            scenarios.push_back({system,
                                                 &codePage,
                                                 &layout,
                                                 static_cast<TargetState>(state),
                                                 static_cast<PartNames>(parts),
                                                 &script,
                                                 static_cast<Meanwhile>(meanwhile),
                                                 {}});
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
    int RunOne(const Scenario& scenario, const Run& prepared,
               std::vector<bool>* middlePartCalls = nullptr, int* callsBeforeYes = nullptr) {
        ++runs;
        Run run(scenario, nullptr, &prepared);
        const std::vector<std::string> faults = run.Go();
        calls += static_cast<std::size_t>(run.Calls());
        if (middlePartCalls != nullptr) {
            *middlePartCalls = run.MiddlePartCalls();
        }
        if (callsBeforeYes != nullptr) {
            *callsBeforeYes = run.CallsBeforeYes();
        }
        if (!faults.empty()) {
            Report(scenario, faults);
            stopping = stopping || stopAtFirstFault;
        }
        return run.Calls();
    }

    // Each call of the run in turn fails with each error; after a Yes, each two calls fail
    // together as well.
    void RunWithEveryFailure(const Scenario& base, bool countOnly) {
        std::vector<bool> middlePartCalls;
        int callsBeforeYes = -1;
        const Run prepared(base, nullptr);
        const int baseCalls = RunOne(base, prepared, &middlePartCalls, &callsBeforeYes);
        for (const std::map<int, unsigned long>& failures :
             Failures(base, baseCalls, middlePartCalls, callsBeforeYes)) {
            if (countOnly) {
                ++planned;
                continue;
            }
            if (stopping) {
                return;
            }
            Scenario failing = base;
            failing.failures = failures;
            RunOne(failing, prepared);
        }
    }

    // With --stop-at-first-fault, every search stops once any has found a broken rule.
    static inline bool stopAtFirstFault = false;
    static inline std::atomic<bool> stopping{false};

    // Adds another search's runs, faults and stories to this one's.
    void Merge(const Search& other) {
        runs += other.runs;
        calls += other.calls;
        failedRuns += other.failedRuns;
        planned += other.planned;
        stories += other.stories;
        for (const auto& [kind, count] : other.faultKinds) {
            faultKinds[kind] += count;
        }
    }

    int Finish() const {
        std::fputs(stories.c_str(), stdout);
        for (const auto& [kind, count] : faultKinds) {
            std::printf("%6zu runs: %s\n", count, kind.c_str());
        }
        std::printf("Placement search: %zu runs, %zu file calls, %zu runs broke a rule\n", runs,
                    calls, failedRuns);
        if (planned != 0) {
            std::printf("%zu runs with failures planned\n", planned);
        }
        std::printf("%zu passed, %zu failed\n", runs - failedRuns, failedRuns);
        return failedRuns == 0 ? 0 : 1;
    }

  private:
    static std::vector<std::map<int, unsigned long>>
    Failures(const Scenario& base, int baseCalls, const std::vector<bool>& middlePartCalls,
             int callsBeforeYes) {
        std::vector<std::map<int, unsigned long>> failures;
        const bool everywhere = base.script->everyFailureEverywhere;
        if ((base.meanwhile != Meanwhile::nothing || base.parts == PartNames::all) && !everywhere) {
            return failures;
        }
        const auto counted = [&middlePartCalls](int call) {
            return !middlePartCalls[static_cast<std::size_t>(call)];
        };
        // With another program acting, the failures that meet it are those of files held,
        // refused, full and gone.
        const bool alone = base.meanwhile == Meanwhile::nothing;
        for (int call = 0; call < baseCalls; ++call) {
            for (const unsigned long error : kErrors) {
                const bool meets =
                    alone || std::find(std::begin(kPairErrors), std::end(kPairErrors), error) !=
                                 std::end(kPairErrors);
                if (counted(call) && meets) {
                    failures.push_back({{call, error}});
                }
            }
        }
        if (callsBeforeYes < 0 || base.meanwhile != Meanwhile::nothing ||
            base.parts == PartNames::all) {
            return failures;
        }
        for (int first = callsBeforeYes; first < baseCalls; ++first) {
            for (int second = first + 1; second < baseCalls; ++second) {
                for (const unsigned long firstError : kPairErrors) {
                    for (const unsigned long secondError : kPairErrors) {
                        if (counted(first) && counted(second)) {
                            failures.push_back({{first, firstError}, {second, secondError}});
                        }
                    }
                }
            }
        }
        return failures;
    }

    void Report(const Scenario& scenario, const std::vector<std::string>& faults) {
        ++failedRuns;
        const std::string kind = faults.front().substr(0, faults.front().find(" (after call")) +
                                 " [" + (scenario.system == ModelSystem::windowsNt ? "NT" : "9x") +
                                 ", " + scenario.layout->name + "]";
        if (++faultKinds[kind] > 1 || told >= kStoriesTold) {
            return;
        }
        ++told;
        std::vector<std::string> story;
        const Run before(scenario, nullptr);
        stories += "---- " + Describe(scenario) + "\nFiles before:\n" + before.FileList();
        Run retold(scenario, &story);
        retold.Go();
        for (const std::string& line : story) {
            stories += "  " + line + "\n";
        }
        stories += "Files after:\n" + retold.FileList();
        for (const std::string& fault : faults) {
            stories += "Broken: " + fault + "\n";
        }
    }

    std::size_t runs = 0;
    std::size_t calls = 0;
    std::size_t failedRuns = 0;
    std::size_t told = 0;
    std::size_t planned = 0;
    std::string stories;
    std::map<std::string, std::size_t> faultKinds;
};

} // namespace

// Code page 1252 runs every script; code page 932, whose paths all hold a character with the
// byte of "\" in second place, runs the scripts that meet every failure, with no other program
// acting.
int main(int argc, char** argv) {
    const std::string option = argc > 1 ? argv[1] : "";
    const bool countOnly = option == "--count";
    Search::stopAtFirstFault = option == "--stop-at-first-fault";
    std::vector<Scenario> scenarios;
    for (const CodePage& codePage : kCodePages) {
        for (const Scenario& scenario : BaseScenarios(codePage, codePage.rule == &kSingleByte)) {
            scenarios.push_back(scenario);
        }
    }
    const std::size_t workers = std::max(1u, std::thread::hardware_concurrency());
    std::vector<Search> searches(workers);
    std::vector<std::thread> threads;
    for (std::size_t worker = 0; worker < workers; ++worker) {
        threads.emplace_back([&, worker] {
            for (std::size_t index = worker; index < scenarios.size() && !Search::stopping;
                 index += workers) {
                searches[worker].RunWithEveryFailure(scenarios[index], countOnly);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (std::size_t worker = 1; worker < workers; ++worker) {
        searches[0].Merge(searches[worker]);
    }
    return searches[0].Finish();
}
