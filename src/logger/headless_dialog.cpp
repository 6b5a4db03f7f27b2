#include "logger/headless_dialog.h"

#include <algorithm>
#include <chrono>
#include <climits>

#include "platform/sjis.h"

namespace pt {

long long MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string HeadlessDialog::Text(int id) const {
  const auto it = texts_.find(id);
  return it == texts_.end() ? std::string() : it->second;
}

int HeadlessDialog::RadioChecked(int firstId) const {
  const auto it = radio_.find(firstId);
  return it == radio_.end() ? 0 : it->second;
}

long long HeadlessDialog::TimerDeadline(int id) const {
  const auto it = timers_.find(id);
  return it == timers_.end() ? -1 : it->second;
}

int HeadlessDialog::GetItemText(int id, char* buf, int size) {
  return CopySjisBounded(buf, size, Text(id).c_str());
}

int HeadlessDialog::IsButtonChecked(int id) {
  const auto it = checked_.find(id);
  if (it != checked_.end()) return it->second ? 1 : 0;
  // A radio button is checked when its group says so.
  for (const auto& [first, checkedId] : radio_) {
    if (checkedId == id) return 1;
  }
  return 0;
}

void HeadlessDialog::CheckRadioButton(int firstId, int lastId, int checkId) {
  // One group per first id; a button of the range that is checked separately is cleared.
  for (int id = firstId; id <= lastId; ++id) checked_.erase(id);
  radio_[firstId] = checkId;
}

int HeadlessDialog::ComboGetCurSel(int id) {
  const auto it = combo_.find(id);
  return it == combo_.end() ? -1 : it->second;
}

void HeadlessDialog::SetProgressRange(int, int low, int high) {
  progressMin_ = low;
  progressMax_ = high;
  if (progressPos_ < progressMin_) progressPos_ = progressMin_;
}

void HeadlessDialog::SetProgressPos(int, int pos) { progressPos_ = pos < progressMin_ ? progressMin_ : pos; }

void HeadlessDialog::StepProgress(int) {
  // Like the common control: past the top it starts again from the bottom. In 64 bits, so that no
  // range or step the core sets can overflow.
  long long pos = static_cast<long long>(progressPos_) + progressStep_;
  if (pos > progressMax_) pos = progressMin_ + (pos - progressMax_);
  progressPos_ = static_cast<int>(std::clamp<long long>(pos, INT_MIN, INT_MAX));
  if (progressPos_ < progressMin_) progressPos_ = progressMin_;
}

void HeadlessDialog::ShowMessage(const char* text, const char* caption, BoxOwner owner) {
  if (onMessage_) onMessage_(text, caption, owner);
}

}  // namespace pt
