#include "app/program_state.h"

#include "app/main_dialog.h"
#include "config/port_settings_file.h"
#include "logger/exchange.h"
#include "logger/jobs.h"
#include "report/samples.h"

namespace pt {

void ResetProgramState() {
  Jobs = JobsState{};
  Exchange = ExchangeState{};
  Port = PortState{};
  Report = ReportState{};
  PortSettingsFile = PortSettingsFileState{};
  MainDialog = MainDialogState{};
  SetJobControlsRefresher(nullptr);
}

}  // namespace pt
