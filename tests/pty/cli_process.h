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

// `env` entries "NAME=value" are set in the child on top of the test's own environment. With a
// `fileSizeLimit` of 0 or more the child may not make a file larger (RLIMIT_FSIZE), and a write
// beyond it fails with EFBIG instead of raising SIGXFSZ.
Finished RunProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::vector<std::string>& env, int timeoutMs, long long fileSizeLimit = -1);

}  // namespace cli::test
