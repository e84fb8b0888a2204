// Names that the benchmark programs share: the empty programs that serve as the floor and the
// texts by which the measuring programs find them.
#pragma once

namespace bench {

// EmptyWindow.exe: a hidden window and a message loop, nothing else.
// A request number the host knows as nothing: it answers it with 0 at once.
constexpr unsigned kBareRequest = 1282;
constexpr const char* kEmptyWindowClass = "VelloraBenchEmptyClass";
constexpr const char* kEmptyWindowName = "VelloraBenchEmpty";

// EmptyDialog.exe: one modal dialog without controls.
constexpr const char* kEmptyDialogCaption = "Vellora bench empty dialog";

} // namespace bench
