#pragma once
// paddytherm-cli report FILE: the season's files made again without the logger, from the archive
// a download wrote (tavovalu.html byte for byte as the download wrote it, and the other outputs)
// or from a tavovalu.html (the other outputs only; the report itself is never rewritten).
#include "cli_options.h"

namespace pt {
class TerminalText;
}  // namespace pt

namespace cli {

// The exit status.
int RunReportCommand(const CliOptions& opts, const pt::TerminalText& text);

}  // namespace cli
