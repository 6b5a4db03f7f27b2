#pragma once
// The program's process-wide state in one place: each subsystem keeps its own in one plain struct
// whose fresh value is the state at program start, and what a front end or a test installs in
// place of the platform (the serial device, the report sink, the clock) is installed for a scope.
#include "logger/jobs.h"
#include "platform/local_time.h"
#include "platform/scoped_install.h"
#include "report/report_sink.h"
#include "serial/port.h"

namespace pt {

// Every subsystem's state as at program start; installed devices, sinks and clocks stay.
void ResetProgramState();

using ScopedPortDevice = ScopedInstall<SerialDevice*, PortDevice, SetPortDevice>;
using ScopedReportSink = ScopedInstall<ReportSink*, InstalledReportSink, SetReportSink>;
using ScopedLocalTimeSource = ScopedInstall<LocalTimeSource, CurrentLocalTimeSource, SetLocalTimeSource>;
using ScopedReadoutObserver = ScopedInstall<ReadoutObserver*, InstalledReadoutObserver, SetReadoutObserver>;

}  // namespace pt
