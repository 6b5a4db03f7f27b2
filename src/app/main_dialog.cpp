#include "app/main_dialog.h"

#include <cstdio>

#include "config/port_settings_file.h"
#include "control_ids.h"
#include "logger/exchange.h"
#include "logger/jobs.h"
#include "serial/port.h"

namespace pt {

MainDialogState MainDialog;

const int JobButtonIds[] = {IDC_DOWNLOAD, IDC_READ_MEMO, IDC_WRITE_MEMO, IDC_READ_CLOCK, IDC_SET_CLOCK,
                            IDC_SET_PERIOD, IDC_CHECK_MEMO, IDC_CHECK_POINTER, -1};
const int SpecialStartIds[] = {IDC_SPECIAL_START_EXAMPLE, IDC_SPECIAL_START_HINT, IDC_SPECIAL_START_LABEL,
                               IDC_SPECIAL_START_EDIT, -1};
const int StartReadIds[] = {IDC_START_CHECK_REPLY, IDC_CHECK_START, -1};

namespace {

void EnableAll(Dialog& dlg, const int* ids, bool enable) {
  for (; *ids != -1; ++ids) dlg.EnableItem(*ids, enable);
}

void StartTickTimer(Dialog& dlg) {
  if (MainDialog.TickRunning == 0) {
    MainDialog.TickRunning = 1;
    dlg.StartTimer(kTickTimerId, kTickTimerMs);
  }
}

int JobRequestOf(unsigned id) {
  switch (id) {
    case IDC_DOWNLOAD: return DownloadJob;
    case IDC_SET_CLOCK: return SetClockJob;
    case IDC_SET_PERIOD: return SetPeriodJob;
    case IDC_WRITE_MEMO: return WriteMemoJob;
    case IDC_READ_CLOCK: return ReadClockJob;
    case IDC_READ_MEMO: return ReadMemoJob;
    case IDC_CHECK_MEMO: return CheckMemoJob;
    case IDC_CHECK_START: return CheckStartJob;
    case IDC_CHECK_POINTER: return CheckPointerJob;
    default: return 0;
  }
}

// One "%d" field of the version text: white space, sign, digits. Saturates instead of overflowing.
bool ReadVersionNumber(const char*& p, int& out) {
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  const char* q = p;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = (*q++ == '-');
  if (*q < '0' || *q > '9') return false;
  long long v = 0;
  for (; *q >= '0' && *q <= '9'; ++q) {
    if (v < 100000000000LL) v = v * 10 + (*q - '0');
  }
  if (negative) v = -v;
  out = v > 2147483647LL ? 2147483647 : (v < -2147483647LL - 1 ? -2147483647 - 1 : static_cast<int>(v));
  p = q;
  return true;
}

}  // namespace

void OnDialogMessage(Dialog& dlg) {
  if (MainDialog.FirstMessageFlag == 1) {
    MainDialog.FirstMessageFlag = 0;
    StartTickTimer(dlg);
  }
}

void InitMainDialog(Dialog& dlg) {
  LoadPortSettings();
  dlg.SetItemText(IDC_SAMPLE_COUNTER, "  ");
  dlg.SetItemText(IDC_MEMO_CHECK_REPLY, "");
  dlg.SetItemText(IDC_POINTER_REPLY, "");
  dlg.SetItemText(IDC_START_CHECK_REPLY, "");
  dlg.SetItemText(IDC_PORT_STATUS, "");
  dlg.SetItemText(IDC_BOTTOM_LEFT, "");
  FillPortList(dlg);
  ReadVersionInfo();
  if (MainDialog.ProductVersionText[0] != '\0') {
    char label[kVersionFieldSize];
    FormatVersionLabel(MainDialog.ProductVersionText, label);
    dlg.SetItemText(IDC_VERSION, label);
  }
  if (MainDialog.CopyrightText[0] != '\0') dlg.SetItemText(IDC_COPYRIGHT, MainDialog.CopyrightText);
  RefreshStartControls(dlg, 0);
  dlg.CheckRadioButton(IDC_SPEED_9600, IDC_SPEED_19200, IDC_SPEED_9600);
}

void OnDialogCommand(Dialog& dlg, unsigned wParam) {
  if (wParam == IDC_SPECIAL_START) {
    RefreshStartControls(dlg, Jobs.BusyFlag == 1 ? 1 : 0);
    return;
  }
  const int request = JobRequestOf(wParam);
  if (request != 0) StartJob(dlg, request);
}

void OnDialogClose(Dialog& dlg) {
  SavePortSettings();
  SyncFineTimers(dlg, true);  // a job abandoned by the close must not keep the system's timers fine
}

bool StartJob(Dialog& dlg, int jobRequest) {
  // A request while a job runs (a click queued behind the one that started it) changes nothing:
  // reopening the port would close the line under the running job.
  if (Jobs.BusyFlag == 1) return false;
  ReadPortChoice(dlg);
  ReadSpeedChoice(dlg);
  if (OpenPort(dlg) != 0) return false;
  // The sequencer knows nothing of buttons; when the job it runs starts and ends it calls back.
  SetJobControlsRefresher(RefreshJobControls);
  Jobs.PendingJob = jobRequest;
  Jobs.BusyFlag = 1;
  RefreshJobControls(dlg);
  SyncFineTimers(dlg);  // before the first tick, so that one is on time already
  StartTickTimer(dlg);
  return true;
}

void RefreshJobControls(Dialog& dlg) {
  const bool on = Jobs.BusyFlag == 0 && Port.PortOpenFlag == 1;
  if (on) dlg.SetItemText(IDC_SPINNER, "");
  EnableAll(dlg, JobButtonIds, on);
  RefreshStartControls(dlg, on ? 0 : 1);
}

void RefreshStartControls(Dialog& dlg, int forceOff) {
  bool special = false;
  bool startRead = false;
  if (forceOff != 1) {
    special = dlg.IsButtonChecked(IDC_SPECIAL_START) == 1;
    startRead = !special;
  }
  EnableAll(dlg, SpecialStartIds, special);
  EnableAll(dlg, StartReadIds, startRead);
}

void FormatVersionLabel(const char* productVersion, char* out) {
  int n[4] = {0, 0, 0, 0};
  const char* p = productVersion;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (*p != ',') break;
      ++p;
    }
    if (!ReadVersionNumber(p, n[i])) break;
  }
  std::snprintf(out, kVersionFieldSize, "V-%d.%d%d%d", n[0], n[1], n[2], n[3]);
}

}  // namespace pt
