#include "file_clashes.h"

#include "output_files.h"

namespace cli {

CommandFiles FilesOf(std::vector<NamedFile> inputs, const std::string& reportPath, const std::string& csv,
                     const SeasonOutputs& opts) {
  CommandFiles files;
  files.inputs = std::move(inputs);
  const NamedFile outputs[] = {
      {"the report", reportPath}, {"--csv", csv}, {"--daily", opts.daily}, {"--season", opts.seasonPage}};
  for (const NamedFile& f : outputs) {
    if (!f.path.empty()) files.outputs.push_back(f);
  }
  return files;
}

ExitStatus CheckNoClash(const CommandFiles& files, std::string& error) {
  const auto refuse = [&error](const NamedFile& output, const NamedFile& other) {
    error = output.role + " " + output.path + " is " + other.role + " " + other.path +
            " itself: no output may replace an input or another output; give each a name of its own";
    return kExitBadInput;
  };
  for (std::size_t i = 0; i < files.outputs.size(); ++i) {
    const NamedFile& output = files.outputs[i];
    for (const NamedFile& input : files.inputs) {
      if (NamesSameFile(output.path, input.path)) return refuse(output, input);
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (NamesSameFile(output.path, files.outputs[j].path) && !WrittenDirectly(output.path)) {
        return refuse(output, files.outputs[j]);
      }
    }
  }
  return kExitOk;
}

}  // namespace cli
