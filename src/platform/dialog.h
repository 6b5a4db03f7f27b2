#pragma once
// What the program's logic asks of its window. The Win32 implementation wraps the dialog's HWND;
// tests use a recording fake; the console front end prints. All texts are Shift-JIS bytes.
namespace pt {

// Who owns a modal message box: the main dialog, or the hidden frame window (the report's
// write failures and the start-up failure).
enum class BoxOwner { Dialog, Frame };

class Dialog {
 public:
  virtual ~Dialog() = default;

  virtual void SetItemText(int id, const char* text) = 0;
  // Behaves like GetDlgItemTextA with a buffer of `size` bytes: at most size-1 bytes and a NUL,
  // never ending on the lead byte of a double-byte character. Returns the bytes copied.
  virtual int GetItemText(int id, char* buf, int size) = 0;
  // 1 when checked (a check box counts as checked only then), 0 otherwise.
  virtual int IsButtonChecked(int id) = 0;
  virtual void CheckRadioButton(int firstId, int lastId, int checkId) = 0;
  virtual void EnableItem(int id, bool enable) = 0;

  virtual void ComboInsertString(int id, int pos, const char* text) = 0;
  virtual void ComboSetCurSel(int id, int pos) = 0;
  virtual int ComboGetCurSel(int id) = 0;  // -1 when nothing is selected

  // A progress bar behaves like the common control: a position below the range is shown at its
  // bottom, and a step past the top starts again from the bottom.
  virtual void SetProgressRange(int id, int low, int high) = 0;
  virtual void SetProgressPos(int id, int pos) = 0;
  virtual void SetProgressStep(int id, int step) = 0;
  virtual void StepProgress(int id) = 0;  // one step forward

  // Message timers on the dialog: starting a running timer again restarts its period.
  virtual void StartTimer(int id, unsigned periodMs) = 0;
  virtual void StopTimer(int id) = 0;

  // Modal box with an OK button; returns when the user has closed it.
  virtual void ShowMessage(const char* text, const char* caption, BoxOwner owner) = 0;
  virtual void Beep() = 0;  // the default beep, MessageBeep(0)

  // While held, the system's timers run at their finest resolution (timeBeginPeriod(1) on
  // Windows, where the stock 15.6 ms would stretch the 10 ms tick); every hold is released.
  virtual void HoldFineTimers(bool hold) = 0;
};

}  // namespace pt
