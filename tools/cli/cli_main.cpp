#include <clocale>

#include "cli_app.h"

#ifdef _WIN32
#include <string>
#include <vector>

#include "platform/console_out.h"
#include "platform/file_names.h"
#include "platform/terminal_text.h"

// The arguments as Windows has them, UTF-16, handed on as UTF-8 for the portable parser.
int wmain(int argc, wchar_t** argv) {
  cli::PrepareStandardStreams();
  // The file names below come from these arguments: UTF-8, whatever the system's code page.
  pt::UseUtf8FileNames();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(cli::Utf8FromWide(argv[i]));
  std::vector<const char*> pointers;
  for (const std::string& a : args) pointers.push_back(a.c_str());
  pointers.push_back(nullptr);
  return cli::RunCli(argc - 1, pointers.data());
}
#else
int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return cli::RunCli(argc - 1, argv + 1);
}
#endif
