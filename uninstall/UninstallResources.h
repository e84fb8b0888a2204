// Resource and control identifiers of the uninstaller.
#pragma once

#define IDD_UNINSTALL_DIALOG 102
#define IDI_UNINSTALL 126
#define IDC_INFO_TEXT 1004
