#pragma once
// The Dialog seam over a real dialog window. Texts cross the seam as Shift-JIS and are converted
// with code page 932 explicitly for the wide-character functions, so the dialog reads the same on
// every Windows locale.
#include <windows.h>

#include "platform/dialog.h"

namespace pt {

class Win32Dialog final : public Dialog {
 public:
  // `frame` owns the boxes shown with BoxOwner::Frame; without one the dialog owns them.
  void Bind(HWND dialog, HWND frame);
  HWND Handle() const { return dialog_; }
  HWND Frame() const { return frame_; }

  void SetItemText(int id, const char* text) override;
  int GetItemText(int id, char* buf, int size) override;
  int IsButtonChecked(int id) override;
  void CheckRadioButton(int firstId, int lastId, int checkId) override;
  void EnableItem(int id, bool enable) override;
  void ComboInsertString(int id, int pos, const char* text) override;
  void ComboSetCurSel(int id, int pos) override;
  int ComboGetCurSel(int id) override;
  void SetProgressRange(int id, int low, int high) override;
  void SetProgressPos(int id, int pos) override;
  void SetProgressStep(int id, int step) override;
  void StepProgress(int id) override;
  void StartTimer(int id, unsigned periodMs) override;
  void StopTimer(int id) override;
  void ShowMessage(const char* text, const char* caption, BoxOwner owner) override;
  void Beep() override;
  void HoldFineTimers(bool hold) override;

 private:
  HWND dialog_ = nullptr;
  HWND frame_ = nullptr;
};

}  // namespace pt
