#pragma once
// The Dialog seam without a window, for a front end that is no dialog (the console): controls are
// plain values set before a job (by ApplyJobInputs) and read after it (by ReadJobReport), timers
// are deadlines on the monotonic clock that the event loop honours, and a message box is handed
// to the front end, which prints it and returns at once.
#include <functional>
#include <map>
#include <string>

#include "platform/dialog.h"

namespace pt {

// Milliseconds of std::chrono::steady_clock. The dialog's clock is a count of milliseconds, so
// that a test can run it by hand, and so that the files that include this one need no <chrono>.
long long MonotonicMs();

class HeadlessDialog : public Dialog {
 public:
  using MessageHandler = std::function<void(const char* text, const char* caption, BoxOwner owner)>;
  using Clock = std::function<long long()>;

  explicit HeadlessDialog(Clock clock = MonotonicMs) : clock_(std::move(clock)) {}

  void SetMessageHandler(MessageHandler handler) { onMessage_ = std::move(handler); }

  // What the front end sets up and reads back.
  std::string Text(int id) const;
  void SetChecked(int id, bool checked) { checked_[id] = checked; }
  int RadioChecked(int firstId) const;
  int ProgressPos() const { return progressPos_; }
  int ProgressMax() const { return progressMax_; }
  // The deadline of a running timer, or -1 when it does not run.
  long long TimerDeadline(int id) const;

  // pt::Dialog
  void SetItemText(int id, const char* text) override { texts_[id] = text; }
  int GetItemText(int id, char* buf, int size) override;
  int IsButtonChecked(int id) override;
  void CheckRadioButton(int firstId, int lastId, int checkId) override;
  void EnableItem(int, bool) override {}
  void ComboInsertString(int, int, const char*) override {}
  void ComboSetCurSel(int id, int pos) override { combo_[id] = pos; }
  int ComboGetCurSel(int id) override;
  // The one bar there is, whatever its id.
  void SetProgressRange(int id, int low, int high) override;
  void SetProgressPos(int id, int pos) override;
  void SetProgressStep(int, int step) override { progressStep_ = step; }
  void StepProgress(int id) override;
  void StartTimer(int id, unsigned periodMs) override { timers_[id] = clock_() + periodMs; }
  void StopTimer(int id) override { timers_.erase(id); }
  void ShowMessage(const char* text, const char* caption, BoxOwner owner) override;
  void Beep() override {}
  // The console waits on the line and its own clock, never on the system's timer ticks.
  void HoldFineTimers(bool) override {}

 private:
  Clock clock_;
  MessageHandler onMessage_;
  std::map<int, std::string> texts_;
  std::map<int, bool> checked_;
  std::map<int, int> radio_;  // first id of a group -> the checked id
  std::map<int, int> combo_;
  std::map<int, long long> timers_;
  int progressPos_ = 0;
  int progressMin_ = 0;
  int progressMax_ = 100;
  int progressStep_ = 10;
};

}  // namespace pt
