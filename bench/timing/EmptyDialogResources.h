// Resource identifiers of EmptyDialog.exe.
#pragma once

#define IDD_EMPTY_DIALOG 101
#define IDI_EMPTY_DIALOG 102
