// The download: the three header texts, then every sample, then the report.
#include <cstdio>

#include "logger/job_steps.h"
#include "logger/jobs.h"
#include "platform/sjis.h"
#include "report/html_report.h"
#include "report/samples.h"

namespace pt {

namespace {

constexpr const char* kFiveBlanks = "     ";

ReadoutObserver* gObserver = nullptr;

void ShowSampleCounter(Dialog& dlg) {
  std::snprintf(Jobs.SampleReplyBuffer, kReplyBufferSize, "%d/%-4d", static_cast<int>(Jobs.SampleIndex),
                static_cast<int>(Jobs.SampleCount));
  dlg.SetItemText(IDC_SAMPLE_COUNTER, Jobs.SampleReplyBuffer);
}

void ReadSample(Dialog& dlg) {
  switch (SampleRead(dlg, 1, Jobs.SampleIndex, Jobs.SampleReplyBuffer)) {
    case 1: {
      UpdateProgress(dlg, 0, 0);
      if (Jobs.SampleIndex >= 0 && Jobs.SampleIndex < kSampleTableSize) {
        Jobs.SampleTable[Jobs.SampleIndex] = Jobs.SampleWord;
      }
      if (gObserver != nullptr) gObserver->OnSample(Jobs.SampleIndex, Jobs.SampleReplyBuffer, Jobs.SampleWord);
      ++Jobs.SampleIndex;
      // The comparison follows the read, so sample 0 is always read.
      Jobs.JobState = Jobs.SampleIndex < Jobs.SampleCount ? kDownloadAskSample : kDownloadWriteReport;
      break;
    }
    case -1: Jobs.JobState = kDownloadFailed; break;
    default: Jobs.JobState = kDownloadAwaitSample; break;
  }
}

void WriteDownloadReport(Dialog& dlg) {
  dlg.SetItemText(IDC_SAMPLE_COUNTER, "");
  char specialStamp[kReplyBufferSize] = "STR:";
  const char* stamp = Jobs.StartText;
  if (dlg.IsButtonChecked(IDC_SPECIAL_START) == 1) {
    // At most 15 characters are taken, so "STR:" and the text always fit.
    dlg.GetItemText(IDC_SPECIAL_START_EDIT, Jobs.ReplyBuffer, 16);
    CopySjisBounded(specialStamp + 4, 16, Jobs.ReplyBuffer);
    stamp = specialStamp;
  }
  ReportOutcome report;
  // A typed start that names no real minute (30 February, 25 o'clock) would date every row
  // wrongly: refused like a start stamp the report cannot read.
  if (stamp == specialStamp && !IsRealTimeText(specialStamp + 4, 12)) {
    report = RefuseTypedStart(dlg);
  } else {
    WriteReport(dlg, stamp, Jobs.PointerText, Jobs.SampleTable, &report);
  }
  if (gObserver != nullptr) gObserver->OnReport(report.result, stamp == Jobs.StartText ? nullptr : stamp);
  // The job ends as a success whatever became of the report; the outcome tells the difference.
  Jobs.LastOutcome.report = report.result;
  switch (report.result) {
    case ReportResult::Written: break;
    case ReportResult::BadStamp:
    case ReportResult::BadCount: Jobs.LastOutcome = {Outcome::BadData, report.message, report.result}; break;
    default: Jobs.LastOutcome = {Outcome::File, report.message, report.result}; break;
  }
}

}  // namespace

void SetReadoutObserver(ReadoutObserver* observer) { gObserver = observer; }
ReadoutObserver* InstalledReadoutObserver() { return gObserver; }

bool IsDownloadState(int state) {
  switch (state) {
    case kDownloadBegin: case kDownloadReadHeaders: case kDownloadTakeCount: case kDownloadAskSample:
    case kDownloadAwaitSample: case kDownloadWriteReport: case kDownloadSucceeded: case kDownloadFailed:
      return true;
    default:
      return false;
  }
}

void StepDownloadJob(Dialog& dlg) {
  switch (Jobs.JobState) {
    case kDownloadBegin:
      UpdateProgress(dlg, 1, Jobs.SampleCount);
      HeaderRead(dlg, 0, Jobs.MemoText, Jobs.StartText, Jobs.PointerText);
      Jobs.JobState = kDownloadReadHeaders;
      break;
    case kDownloadReadHeaders:
      switch (HeaderRead(dlg, 1, Jobs.MemoText, Jobs.StartText, Jobs.PointerText)) {
        case 1:
          if (gObserver != nullptr) gObserver->OnHeaders(Jobs.MemoText, Jobs.StartText, Jobs.PointerText);
          StripLineBreaks(Jobs.MemoText);
          StripLineBreaks(Jobs.StartText);
          StripLineBreaks(Jobs.PointerText);
          Jobs.JobState = kDownloadTakeCount;
          break;
        case -1: Jobs.JobState = kDownloadFailed; break;
        default: break;
      }
      break;
    case kDownloadTakeCount:
      dlg.SetItemText(IDC_MEMO_CHECK_REPLY, Jobs.MemoText);
      dlg.SetItemText(IDC_START_CHECK_REPLY, Jobs.StartText);
      dlg.SetItemText(IDC_POINTER_REPLY, Jobs.PointerText);
      // The header reader let only a well-formed count that the table can hold through.
      Jobs.SampleCount = Jobs.PointerCount;
      UpdateProgress(dlg, 1, Jobs.SampleCount);
      Jobs.SampleIndex = 0;
      Jobs.JobState = kDownloadAskSample;
      break;
    case kDownloadAskSample:
      SampleRead(dlg, 0, Jobs.SampleIndex, Jobs.SampleReplyBuffer);
      ShowSampleCounter(dlg);
      Jobs.JobState = kDownloadAwaitSample;
      ReadSample(dlg);  // the sample's command goes out on this same tick
      break;
    case kDownloadAwaitSample:
      ReadSample(dlg);
      break;
    case kDownloadWriteReport:
      WriteDownloadReport(dlg);
      Jobs.JobState = kDownloadSucceeded;
      break;
    default:  // kDownloadSucceeded, kDownloadFailed
      dlg.SetItemText(IDC_SAMPLE_COUNTER, kFiveBlanks);
      EndJob(dlg);
      UpdateProgress(dlg, 1, Jobs.SampleCount);
      break;
  }
}

}  // namespace pt
