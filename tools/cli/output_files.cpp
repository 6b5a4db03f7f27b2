#include "output_files.h"

#include <cstdio>

#include "path_join.h"
#include "platform/file_names.h"
#include "platform/output_file.h"
#include "platform/replacement_file.h"
#include "platform/console_out.h"
#include "platform/system_error.h"
#include "say.h"

namespace cli {

bool WrittenDirectly(const std::string& path) { return pt::OutputKindOf(path) == pt::OutputKind::Direct; }

ExitStatus CheckDownloadOutputs(const std::string& dir, const std::string& reportPath, const std::string& csv,
                                std::string& error) {
  const int folder = pt::FolderError(dir);
  if (folder != 0) {
    error = "cannot use directory " + dir + ": " + pt::SystemErrorText(folder);
    return kExitFile;
  }
  int code = 0;
  if (!pt::CanReplace(reportPath, code)) {
    error = "cannot write " + reportPath + " (no file can be made in its directory): " + pt::SystemErrorText(code);
    return kExitFile;
  }
  if (csv.empty()) return kExitOk;
  switch (pt::OutputKindOf(csv)) {
    case pt::OutputKind::Direct:
      return kExitOk;
    case pt::OutputKind::Unusable:
      error = "cannot write the CSV to " + csv + ": it is not a file, a FIFO or a character device";
      return kExitFile;
    case pt::OutputKind::Replaced:
      break;
  }
  if (!pt::CanReplace(csv, code)) {
    error = "cannot create a file beside " + csv + ": " + pt::SystemErrorText(code);
    return kExitFile;
  }
  return kExitOk;
}

ExitStatus MakeOutputFolder(const std::string& dir, std::string& error) {
  if (dir.empty() || pt::FolderError(dir) == 0) return kExitOk;
  // Each folder from the top down; a root, a drive ("C:") or a doubled separator names none.
  for (std::size_t end = 0; end != std::string::npos;) {
    end = dir.find_first_of(kFolderSeparators, end + 1);
    const std::string folder = dir.substr(0, end);
    if (folder.empty() || folder.back() == ':' || folder.find_last_not_of(kFolderSeparators) != folder.size() - 1) continue;
    int code = 0;
    if (!pt::MakeFolder(folder, pt::NameBytes::Program, &code)) {
      error = "cannot make directory " + folder + ": " + pt::SystemErrorText(code);
      return kExitFile;
    }
  }
  return kExitOk;
}

bool WriteOutputFile(const std::string& path, const std::string& content, std::string& error) {
  int code = 0;
  const pt::OutputKind kind = pt::OutputKindOf(path);
  if (kind == pt::OutputKind::Unusable) {
    error = "cannot write " + path + ": it is not a file, a FIFO or a character device";
    return false;
  }
  if (kind == pt::OutputKind::Direct) {
    code = pt::WriteDirect(path, content);
    if (code == 0) return true;
  } else {
    pt::ReplacementFile file;
    if (file.Open(path.c_str()) && file.Write(content.data(), content.size()) && file.Commit()) return true;
    code = file.Error();
  }
  error = "cannot write " + path + ": " + pt::SystemErrorText(code != 0 ? code : pt::WriteFaultCode());
  return false;
}

void WriteNamedOutput(const char* line, const char* what, const std::string& path, const std::string& content,
                      ExitStatus& status) {
  if (path.empty()) return;
  std::string error;
  if (WriteOutputFile(path, content, error)) {
    pt::Print(stdout, "%s: %s\n", line, path.c_str());
    std::fflush(stdout);
  } else {
    Say(std::string("no ") + what + " written: " + error);
    status = kExitFile;
  }
}

}  // namespace cli
