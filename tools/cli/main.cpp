// paddytherm-cli: the table of its commands, and the program's entry.
#include <clocale>

#include "command_line.h"
#include "commands/compare.h"
#include "commands/download.h"
#include "commands/jobs.h"
#include "commands/pair.h"
#include "commands/report.h"

#ifdef _WIN32
#include <string>
#include <vector>

#include "platform/console_out.h"
#include "platform/file_names.h"
#include "platform/terminal_text.h"
#endif

namespace {

// In the order the help lists them.
int Run(int argc, const char* const* argv) {
  cli::DownloadCommand download;
  cli::JobCommands jobs;
  cli::ReportCommand report;
  cli::CompareCommand compare;
  cli::PairCommand pair;
  cli::Command* const commands[] = {&download, &jobs, &report, &compare, &pair};
  return cli::RunCommandLine(commands, argc, argv);
}

}  // namespace

#ifdef _WIN32
// The arguments as Windows has them, UTF-16, handed on as UTF-8 for the portable parser.
int wmain(int argc, wchar_t** argv) {
  pt::PrepareStandardStreams();
  // The file names below come from these arguments: UTF-8, whatever the system's code page.
  pt::UseUtf8FileNames();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(pt::Utf8FromWide(argv[i]));
  std::vector<const char*> pointers;
  for (const std::string& a : args) pointers.push_back(a.c_str());
  pointers.push_back(nullptr);
  return Run(argc - 1, pointers.data());
}
#else
int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return Run(argc - 1, argv + 1);
}
#endif
