#pragma once
// One command group of paddytherm-cli: it adds its subcommands to the parser, each with the
// options that belong to it bound to the group's own options struct, checks them once the line
// is parsed, and runs. main.cpp keeps the table of them.
#include <CLI/CLI.hpp>

#include <string>

namespace pt {
class TerminalText;
}  // namespace pt

namespace cli {

class Command {
 public:
  virtual ~Command() = default;
  // Adds the group's subcommands to `app`.
  virtual void Register(CLI::App& app) = 0;
  // True when `given` (the subcommand the line named) is one of the group's; it is the one that
  // Check and Run then apply to.
  virtual bool Select(const CLI::App& given) = 0;
  // The rules of the group's options that the parser does not know: false with a one-line reason.
  virtual bool Check(std::string& error) = 0;
  // The exit status.
  virtual int Run(const pt::TerminalText& text) = 0;
};

}  // namespace cli
