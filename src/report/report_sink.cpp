#include "report/report_sink.h"

namespace pt {

namespace {

FileReportSink DefaultSink;
ReportSink* InstalledSink = nullptr;

}  // namespace

void SetReportSink(ReportSink* sink) { InstalledSink = sink; }
ReportSink* InstalledReportSink() { return InstalledSink; }

ReportSink& CurrentReportSink() { return InstalledSink != nullptr ? *InstalledSink : DefaultSink; }

}  // namespace pt
