#pragma once
// A Dialog that records every call and keeps the controls' state, with a virtual clock for the
// timers, so that tests can drive the program tick by tick.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace pt::test {

struct FakeBox {
  std::string text;
  std::string caption;
  BoxOwner owner;
};

struct FakeProgress {
  std::intptr_t pos = 0, low = 0, high = 100, step = 10;
};

class FakeDialog : public Dialog {
 public:
  // Dialog
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
  void HoldFineTimers(bool hold) override { log.push_back(hold ? "fine timers held" : "fine timers released"); }

  // What a user does or sees.
  std::string Text(int id) const;
  bool IsEnabled(int id) const;  // controls start enabled, as the template makes them
  void SetChecked(int id, bool checked);
  void Type(int id, const std::string& text) { texts[id] = text; }

  // Virtual time, in milliseconds.
  std::int64_t now = 0;
  struct Timer {
    unsigned period;
    std::int64_t due;
  };
  std::map<int, Timer> timers;  // running timers only
  bool TimerRunning(int id) const { return timers.count(id) != 0; }

  std::map<int, std::string> texts;
  std::map<int, bool> enabled;
  std::map<int, int> checked;
  std::map<int, std::vector<std::string>> comboItems;
  std::map<int, int> comboSel;
  std::map<int, FakeProgress> progress;
  std::vector<FakeBox> boxes;
  int beeps = 0;
  // Every call in order, one line each, e.g. "text 1169 [0/120 ]", "enable 1182 0", "beep",
  // "box [text] [caption] dialog", "timer+ 10 1000", "timer- 100", and a progress bar operation
  // as the message the window receives, "progress <id> <message> <wParam> <lParam>":
  // "progress 1022 1026 0 0" sets the position to 0.
  std::vector<std::string> log;
  // Called inside ShowMessage, while the box would be up.
  std::function<void(const FakeBox&)> onBox;

 private:
  void Progress(int id, unsigned msg, std::intptr_t wParam, std::intptr_t lParam);
};

}  // namespace pt::test
