#pragma once
// The command line of paddytherm-cli: the commands of the table, each a CLI11 subcommand with
// the options that belong to it; the help from the parser, the exit status from the command run.
#include <span>
#include <string>

#include "commands/command.h"

namespace cli {

struct ParsedLine {
  Command* command = nullptr;  // the command given; none with --help or --version
  std::string help;            // with --help: the text to print
  std::string version;         // with --version: "paddytherm-cli 1.0.0", the line to print
};

// Parses the arguments after the program name against `commands` and runs the chosen command's
// own checks. False with a one-line reason in `error` on a usage error.
bool ParseCommandLine(std::span<Command* const> commands, int argc, const char* const* argv, ParsedLine& out,
                      std::string& error);

// paddytherm-cli as a whole: the command line in, the command run, the exit status out.
int RunCommandLine(std::span<Command* const> commands, int argc, const char* const* argv);

}  // namespace cli
