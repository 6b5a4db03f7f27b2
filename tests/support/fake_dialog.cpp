#include "support/fake_dialog.h"

#include "platform/sjis.h"

namespace pt::test {

namespace {

// The common control's message numbers (PBM_*), which the log shows.
enum : unsigned {
  kPbmSetPos = 1026,
  kPbmSetStep = 1028,
  kPbmStepIt = 1029,
  kPbmSetRange32 = 1030,
};

}  // namespace

void FakeDialog::SetItemText(int id, const char* text) {
  texts[id] = text;
  log.push_back("text " + std::to_string(id) + " [" + text + "]");
}

int FakeDialog::GetItemText(int id, char* buf, int size) {
  const std::string& t = texts[id];
  return CopySjisBounded(buf, size, t.c_str());
}

int FakeDialog::IsButtonChecked(int id) {
  auto it = checked.find(id);
  return it == checked.end() ? 0 : it->second;
}

void FakeDialog::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (int id = firstId; id <= lastId; ++id) checked[id] = (id == checkId) ? 1 : 0;
  log.push_back("radio " + std::to_string(firstId) + " " + std::to_string(lastId) + " " +
                std::to_string(checkId));
}

void FakeDialog::EnableItem(int id, bool enable) {
  enabled[id] = enable;
  log.push_back("enable " + std::to_string(id) + " " + (enable ? "1" : "0"));
}

void FakeDialog::ComboInsertString(int id, int pos, const char* text) {
  auto& items = comboItems[id];
  if (pos < 0 || pos > static_cast<int>(items.size())) pos = static_cast<int>(items.size());
  items.insert(items.begin() + pos, text);
  log.push_back("combo+ " + std::to_string(id) + " " + std::to_string(pos) + " [" + text + "]");
}

void FakeDialog::ComboSetCurSel(int id, int pos) {
  const int count = static_cast<int>(comboItems[id].size());
  comboSel[id] = (pos >= 0 && pos < count) ? pos : -1;
  log.push_back("combosel " + std::to_string(id) + " " + std::to_string(pos));
}

int FakeDialog::ComboGetCurSel(int id) {
  auto it = comboSel.find(id);
  return it == comboSel.end() ? -1 : it->second;
}

void FakeDialog::SetProgressRange(int id, int low, int high) { Progress(id, kPbmSetRange32, low, high); }
void FakeDialog::SetProgressPos(int id, int pos) { Progress(id, kPbmSetPos, pos, 0); }
void FakeDialog::SetProgressStep(int id, int step) { Progress(id, kPbmSetStep, step, 0); }
void FakeDialog::StepProgress(int id) { Progress(id, kPbmStepIt, 0, 0); }

void FakeDialog::Progress(int id, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
  FakeProgress& p = progress[id];
  switch (msg) {
    case kPbmSetPos: p.pos = wParam; break;
    case kPbmSetRange32: p.low = wParam; p.high = lParam; break;
    case kPbmSetStep: p.step = wParam; break;
    case kPbmStepIt:
      p.pos += p.step;
      if (p.pos > p.high) p.pos = p.low + (p.pos - p.high);  // the control wraps round
      break;
    default: break;
  }
  if (p.pos < p.low) p.pos = p.low;
  log.push_back("progress " + std::to_string(id) + " " + std::to_string(msg) + " " +
                std::to_string(wParam) + " " + std::to_string(lParam));
}

void FakeDialog::StartTimer(int id, unsigned periodMs) {
  timers[id] = Timer{periodMs, now + periodMs};
  log.push_back("timer+ " + std::to_string(id) + " " + std::to_string(periodMs));
}

void FakeDialog::StopTimer(int id) {
  timers.erase(id);
  log.push_back("timer- " + std::to_string(id));
}

void FakeDialog::ShowMessage(const char* text, const char* caption, BoxOwner owner) {
  boxes.push_back(FakeBox{text, caption, owner});
  log.push_back(std::string("box [") + text + "] [" + caption + "] " +
                (owner == BoxOwner::Frame ? "frame" : "dialog"));
  if (onBox) onBox(boxes.back());
}

void FakeDialog::Beep() {
  ++beeps;
  log.push_back("beep");
}

std::string FakeDialog::Text(int id) const {
  auto it = texts.find(id);
  return it == texts.end() ? std::string() : it->second;
}

bool FakeDialog::IsEnabled(int id) const {
  auto it = enabled.find(id);
  return it == enabled.end() ? true : it->second;
}

void FakeDialog::SetChecked(int id, bool isChecked) { checked[id] = isChecked ? 1 : 0; }

}  // namespace pt::test
