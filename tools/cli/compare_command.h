#pragma once
// paddytherm-cli compare FILE...: several seasons (archives or tavovalu.html files) on one page
// and in one daily CSV, without the logger.
#include "cli_options.h"

namespace cli {

// The exit status.
int RunCompareCommand(const CliOptions& opts);

}  // namespace cli
