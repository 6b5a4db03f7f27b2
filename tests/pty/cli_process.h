#pragma once
// Runs paddytherm-cli as a child process and keeps what it printed and how it ended.
#include <string>
#include <vector>

namespace cli::test {

struct Finished {
  int status = -1;  // exit status, 128 + signal when killed, -1 when it could not run
  std::string out, err;
  long long ms = 0;  // wall-clock time from start to exit
};

// `env` entries "NAME=value" are set in the child on top of the test's own environment.
Finished RunProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::vector<std::string>& env, int timeoutMs);

long long NowMs();

}  // namespace cli::test
