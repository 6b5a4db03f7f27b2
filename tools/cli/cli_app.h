#pragma once
// paddytherm-cli as a whole: the command line in, one job against the logger, the exit status out.
namespace cli {

int RunCli(int argc, const char* const* argv);

}  // namespace cli
