#include "command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <vector>

#include "exit_status.h"
#include "platform/console_out.h"
#include "platform/interrupt.h"
#include "platform/local_time.h"
#include "platform/terminal_text.h"
#include "say.h"
#include "version.h"

namespace cli {

namespace {

constexpr const char* kName = "paddytherm-cli";

constexpr const char* kExitStatusText =
    "Replies go to standard output, messages to standard error.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  an unexpected failure\n"
    "  2  bad input: usage, a clock that is no real time, a bad --start,\n"
    "     a memo that cannot be written in Shift-JIS, is longer than 16 bytes in it\n"
    "     or holds a control character, a report with nothing to write,\n"
    "     an output that is an input or another output, an input of report,\n"
    "     compare or pair that is no regular file or larger than a season (8 MB,\n"
    "     archive 4 MB), a pair that shares no complete day\n"
    "  3  port: PATH could not be opened or configured, or a command could not be sent\n"
    "  4  no reply: the logger did not answer, even after one resend\n"
    "  5  refused: the logger answered, but did not accept the command\n"
    "  6  file: the report or the CSV could not be written, or no file can be made\n"
    "     where they go\n"
    "  7  data: the logger's start record or sample count cannot be used for a report\n"
    "130  interrupted (Ctrl-C): a file being replaced stays as it was\n";

// What an option given without its value needs. CLI11 names the option first in its message
// ("--port: 1 required TEXT missing").
std::string MissingValue(const std::string& message) {
  const std::size_t colon = message.find(':');
  const std::string option = colon == std::string::npos ? message : message.substr(0, colon);
  if (option == "--dir") return "--dir needs a directory";
  if (option == "--csv") return "--csv needs a file name";
  return option + " needs a value";
}

std::vector<CLI::App*> AllSubcommands(CLI::App& app) {
  return app.get_subcommands([](CLI::App*) { return true; });
}

// The subcommands that take option `name`, in the order of the table.
std::vector<const CLI::App*> Owners(CLI::App& app, const std::string& name) {
  std::vector<const CLI::App*> owners;
  for (const CLI::App* sub : AllSubcommands(app)) {
    if (sub->get_option_no_throw(name) != nullptr) owners.push_back(sub);
  }
  return owners;
}

// "a", "a and b", "a, b and c"; with `fewWithAnd`, up to three names all with "and".
std::string Listed(const std::vector<std::string>& names, bool fewWithAnd = false) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += (i + 1 == names.size() || (fewWithAnd && names.size() <= 3)) ? " and " : ", ";
    out += names[i];
  }
  return out;
}

// An option given to a command that does not take it, told from the parser's own table: the
// options that belong to just the same commands as it, and those commands.
std::string NotTakenBy(CLI::App& app, const CLI::App& given, const std::string& option) {
  const std::vector<const CLI::App*> owners = Owners(app, option);
  std::vector<std::string> family;
  for (const CLI::Option* o : owners.front()->get_options()) {
    if (!o->nonpositional() || o == owners.front()->get_help_ptr()) continue;
    const std::string name = o->get_name();
    if (given.get_option_no_throw(name) == nullptr && Owners(app, name) == owners) family.push_back(name);
  }
  std::vector<std::string> ownerNames;
  for (const CLI::App* owner : owners) ownerNames.push_back(owner->get_name());
  return given.get_name() + " takes no " + option + ": " + Listed(family) + (family.size() == 1 ? " belongs" : " belong") +
         " to " + Listed(ownerNames, true) + ", not " + given.get_name();
}

// Everything CLI11 could not place: the unknown command, a stray argument, an unknown option,
// an option of another command or one given before the command's name.
std::string LeftOver(CLI::App& app, const CLI::App* given, const std::string& first) {
  if (first.size() > 1 && first[0] == '-') {
    const std::string option = first.substr(0, first.find('='));
    if (Owners(app, option).empty()) return "unknown option " + first;
    if (given == nullptr) return "no command given";
    if (given->get_option_no_throw(option) != nullptr) {
      return option + " must come after the command's name: " + kName + " " + given->get_name() + " " + option + " ...";
    }
    return NotTakenBy(app, *given, option);
  }
  return given == nullptr ? "unknown command " + first : "unexpected argument " + first;
}

}  // namespace

bool ParseCommandLine(std::span<Command* const> commands, int argc, const char* const* argv, ParsedLine& out,
                      std::string& error) {
  out = ParsedLine{};
  CLI::App app{"Runs one job against the paddy water-temperature logger on the serial line PATH, or makes "
               "a season's files again from what a download kept.",
               kName};
  app.set_help_flag("--help,-h", "this text");
  // Taken before the command is looked for, so that it needs none.
  app.set_version_flag("--version", std::string(kName) + " " PT_VERSION_TEXT, "the program's name and version");
  app.allow_extras();
  app.footer(std::string("Each command takes its own options: ") + kName + " COMMAND --help.\n\n" + kExitStatusText);
  for (Command* command : commands) command->Register(app);
  for (CLI::App* sub : AllSubcommands(app)) {
    // What a subcommand does not take is left to the top, which says whose it is.
    sub->fallthrough();
    sub->set_help_flag("--help,-h", "this command's options");
    sub->footer(kExitStatusText);
  }
  // CLI11 takes the arguments last first.
  std::vector<std::string> args(argv, argv + argc);
  std::reverse(args.begin(), args.end());
  try {
    app.parse(args);
  } catch (const CLI::CallForHelp&) {
    out.help = app.help();
    return true;
  } catch (const CLI::CallForVersion& e) {
    out.version = e.what();
    return true;
  } catch (const CLI::ArgumentMismatch& e) {
    error = MissingValue(e.what());
    return false;
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return false;
  }
  const std::vector<CLI::App*> chosen = app.get_subcommands();
  const CLI::App* given = chosen.empty() ? nullptr : chosen.front();
  const std::vector<std::string> left = app.remaining();
  if (!left.empty()) {
    error = LeftOver(app, given, left.front());
    return false;
  }
  if (given == nullptr) {
    error = "no command given";
    return false;
  }
  for (Command* command : commands) {
    if (command->Select(*given)) {
      out.command = command;
      return command->Check(error);
    }
  }
  error = "unknown command " + given->get_name();
  return false;
}

int RunCommandLine(std::span<Command* const> commands, int argc, const char* const* argv) {
  ParsedLine line;
  std::string error;
  if (!ParseCommandLine(commands, argc, argv, line, error)) {
    Say(error);
    pt::Print(stderr, "Try '%s --help'.\n", kName);
    return kExitBadInput;
  }
  if (!line.help.empty()) {
    pt::WriteText(stdout, line.help);
    return kExitOk;
  }
  if (!line.version.empty()) {
    pt::WriteText(stdout, line.version + "\n");
    return kExitOk;
  }
  pt::CleanUpOnInterrupt();
  // Everything the console prints or writes is dated by one clock, the PC clock the core sets
  // the logger from included.
  pt::SetLocalTimeSource([] { return pt::GetZonedTimeNow().local; });
  const pt::TerminalText text(pt::TerminalText::LocaleCodeset());
  return line.command->Run(text);
}

}  // namespace cli
