#include "logger/job_interface.h"

#include <cstdio>

#include "control_ids.h"
#include "serial/port.h"

namespace pt {

namespace {

// Every control read here holds a reply, a clock text or a memo of 16 bytes.
std::string ItemText(Dialog& dlg, int id) {
  char text[4 * kReplyBufferSize] = {};
  dlg.GetItemText(id, text, static_cast<int>(sizeof text));
  return text;
}

// The control that shows the outcome of each job that reads or sends one text.
int ReplyControl(int request) {
  switch (request) {
    case SetClockJob: return IDC_CLOCK_EDIT;
    case WriteMemoJob: return IDC_MEMO_EDIT;
    case ReadClockJob: return IDC_CLOCK_REPLY;
    case ReadMemoJob: return IDC_MEMO_REPLY;
    case CheckMemoJob: return IDC_MEMO_CHECK_REPLY;
    case CheckStartJob: return IDC_START_CHECK_REPLY;
    case CheckPointerJob: return IDC_POINTER_REPLY;
    default: return 0;
  }
}

// The seam has no call for a lone check box; a radio group of one button is one, on every Dialog.
void SetCheckBox(Dialog& dlg, int id, bool checked) { dlg.CheckRadioButton(id, id, checked ? id : 0); }

}  // namespace

void ApplyJobInputs(Dialog& dlg, const JobInputs& in) {
  dlg.ComboSetCurSel(IDC_PORT_COMBO, 0);
  dlg.CheckRadioButton(IDC_SPEED_9600, IDC_SPEED_19200, in.baud == 19200 ? IDC_SPEED_19200 : IDC_SPEED_9600);
  SetCheckBox(dlg, IDC_USE_PC_CLOCK, in.pcClock);
  SetCheckBox(dlg, IDC_DEBUG_PERIOD, in.debugPeriod);
  SetCheckBox(dlg, IDC_SPECIAL_START, in.start.has_value());
  char start[32] = "";
  if (in.start) {
    std::snprintf(start, sizeof start, "%04d%02d%02d%02d%02d", in.start->year, in.start->month, in.start->day,
                  in.start->hour, in.start->minute);
  }
  dlg.SetItemText(IDC_SPECIAL_START_EDIT, start);
  dlg.SetItemText(IDC_CLOCK_EDIT, in.clockSjis.c_str());
  dlg.SetItemText(IDC_MEMO_EDIT, in.memoSjis.c_str());
}

JobReport ReadJobReport(Dialog& dlg, int request) {
  JobReport r;
  r.outcome = Jobs.LastOutcome;
  if (r.outcome.kind == Outcome::Refused) {
    char reply[kReplyBufferSize];
    std::snprintf(reply, sizeof reply, "%s", Jobs.ReplyBuffer);
    StripLineBreaks(reply);
    r.refusedReply = reply;
  }
  if (request == DownloadJob) {
    r.memo = ItemText(dlg, IDC_MEMO_CHECK_REPLY);
    r.start = ItemText(dlg, IDC_START_CHECK_REPLY);
    r.pointer = ItemText(dlg, IDC_POINTER_REPLY);
    const int count = Jobs.SampleCount < 0 ? 0 : Jobs.SampleCount > kSampleTableSize ? kSampleTableSize : Jobs.SampleCount;
    r.samples.assign(Jobs.SampleTable, Jobs.SampleTable + count);
  } else if (const int id = ReplyControl(request); id != 0) {
    r.reply = ItemText(dlg, id);
  }
  return r;
}

bool JobSettled() {
  const SerialDevice* device = PortDevice();
  return Jobs.BusyFlag == 0 && Port.ClosePortFlag == 0 && (device == nullptr || !device->IsOpen());
}

}  // namespace pt
