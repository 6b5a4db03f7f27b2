#pragma once
// The main dialog's logic, apart from Win32 message translation: initialisation, job start,
// the enabling rules and the version label.
#include "platform/dialog.h"

namespace pt {

inline constexpr int kVersionFieldSize = 80;

struct MainDialogState {
  int FirstMessageFlag = 1;
  int TickRunning = 0;
  char ProductVersionText[kVersionFieldSize] = {};
  char CopyrightText[kVersionFieldSize] = {};
  // The other keys of the version record: only their presence matters.
  char OtherVersionFields[7][kVersionFieldSize] = {};
};
extern MainDialogState MainDialog;

// The ids of the enabling rules, each list ended by -1, in switching order.
extern const int JobButtonIds[];
extern const int SpecialStartIds[];
extern const int StartReadIds[];

// Before any message is looked at: the first one starts the tick timer.
void OnDialogMessage(Dialog& dlg);
// WM_INITDIALOG after the window was centred.
void InitMainDialog(Dialog& dlg);
// WM_COMMAND with its whole wParam.
void OnDialogCommand(Dialog& dlg, unsigned wParam);
// WM_CLOSE, before the window is destroyed.
void OnDialogClose(Dialog& dlg);
// Opens the port and hands the job to the sequencer; false when the port could not be opened (its
// message has been shown) or a job is running already.
bool StartJob(Dialog& dlg, int jobRequest);
void RefreshJobControls(Dialog& dlg);
void RefreshStartControls(Dialog& dlg, int forceOff);

// Fills ProductVersionText, CopyrightText and the other fields from the program's own version
// record (a platform operation).
void ReadVersionInfo();
// "V-%d.%d%d%d" from "%d,%d,%d,%d"; `out` holds kVersionFieldSize bytes.
void FormatVersionLabel(const char* productVersion, char* out);

}  // namespace pt
