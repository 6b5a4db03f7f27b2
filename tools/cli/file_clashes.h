#pragma once
// No output replaces an input or another output: the files of a command, compared before any is
// read or written.
#include <string>
#include <vector>

#include "commands/shared_options.h"
#include "exit_status.h"

namespace cli {

// A file of a command, with the words that name it in a message ("--csv", "the input").
struct NamedFile {
  std::string role;
  std::string path;
};

struct CommandFiles {
  std::vector<NamedFile> inputs;
  std::vector<NamedFile> outputs;
};

// What a command reads (`inputs`: the port of a download, the files of report and compare) and
// writes (the report at `reportPath` unless "", --csv unless "", --daily, --season). The archive
// of a download is not among them: its name is only known at the end, and it is made where no
// file is (season_outputs).
CommandFiles FilesOf(std::vector<NamedFile> inputs, const std::string& reportPath, const std::string& csv,
                     const SeasonOutputs& outputs);

// kExitOk, or kExitBadInput with a message naming both files when an output is an input or
// another output (NamesSameFile). Two outputs that are one FIFO or character device are no clash:
// each is written to it as it is, nothing is replaced.
ExitStatus CheckNoClash(const CommandFiles& files, std::string& error);

}  // namespace cli
