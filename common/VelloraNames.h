// Names and numbers that cross program boundaries: the printer driver, the host, the
// properties program and the uninstaller all rely on these exact values.
#pragma once

namespace vellora {

// The printer, and the caption of the host's and the properties program's message boxes.
constexpr const char* kPrinterName = "Vellora 9x";
constexpr const char* kMessageCaption = "Vellora 9x";
constexpr const char* kSaveDialogTitle = "Vellora 9x";

// The host's hidden window. The driver finds it by the window name; the uninstaller by both, so
// that it asks no other program's window of that name to exit.
constexpr const char* kHostWindowClass = "Quillmark_Invisble_Wnd";
constexpr const char* kHostWindowName = "VelloraHost";

// Requests to the host (WM_USER + 0x100 and up); texts travel in global atoms in wParam.
constexpr unsigned kFirstHostRequest = 1024; // WM_USER: lower numbers are system messages
constexpr unsigned HM_SET_NAME_SUFFIX = 1280;
constexpr unsigned HM_PLACE_OUTPUT = 1281;
constexpr unsigned HM_EXIT = 1284;
constexpr unsigned HM_PROMPT_OUTPUT_ROOT = 1285;
constexpr unsigned HM_SET_OUTPUT_ROOT = 1286;
constexpr unsigned HM_OPEN_PROPERTIES = 1287;

// The host appends this to the produced path and to the target; atoms never carry it.
constexpr char kOutputExtension[] = ".tif";
constexpr unsigned kOutputExtensionLength = sizeof(kOutputExtension) - 1;
// A name suffix of exactly this text stands for no suffix.
constexpr const char* kEmptySuffixMarker = "000";
// Longest text an atom carries; atoms are read with a buffer one larger.
constexpr int kMaxAtomText = 254;

// Program files in the printer-driver directory.
constexpr const char* kHostProgramFile = "VelloraH.exe";
constexpr const char* kPropertiesProgramFile = "VlExProp.exe";

// The settings file in the Windows directory.
constexpr const char* kSettingsFile = "Vellora.ini";
constexpr const char* kSettingsSection = "Setup";
constexpr const char* kKeyPrintOnFilePrompt = "PrintOnFilePrompt";
constexpr const char* kKeyOutputPath = "OutputPath";
constexpr const char* kKeyCompressionType = "CompressionType";
constexpr const char* kKeyMultipage = "Multipage";

// Default of "OutputPath" and the host's fall-back output root.
constexpr const char* kDefaultOutputRoot = "c:\\VelloraDoc";

// The host's start-up value under HKEY_LOCAL_MACHINE.
constexpr const char* kStartupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kStartupValue = "VelloraHost";

// The Start-menu folder in the Programs folder and its shortcuts, in order of removal.
constexpr const char* kStartMenuFolder = "Vellora 9x";
constexpr const char* kShortcutNames[] = {"Uninstall", "UserManual", "Output directory"};
constexpr const char* kShortcutExtension = "lnk";

// Paths are zero-terminated ANSI texts in buffers of this many bytes, terminator included.
constexpr int kPathBufferSize = 260;

} // namespace vellora
