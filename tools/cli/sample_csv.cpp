#include "sample_csv.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "report/decimal_text.h"
#include "report/samples.h"

namespace cli {

bool ReportStartHour(const char* startStamp, CivilHour& start) {
  const pt::ReportState saved = pt::Report;
  const bool ok = pt::DecodeStartStamp(startStamp) == 0;
  start = {pt::Report.Date.year, pt::Report.Date.month, pt::Report.Date.day, pt::Report.Date.hour};
  pt::Report = saved;
  return ok;
}

std::string FormatSampleCsv(const CivilHour& start, const std::uint32_t* sampleTable, int count) {
  std::string out = kCsvHeader;
  char number[pt::kDecimalTextSize];
  char line[pt::kDecimalTextSize + 64];
  for (int i = 0; i < count; ++i) {
    const CivilHour at = AddHours(start, i);
    const pt::DecodedSample s = pt::DecodeSampleWord(sampleTable, i);
    pt::FormatOneDecimal(s.temperature, number, sizeof number);
    const int n = std::snprintf(line, sizeof line, "%04d-%02d-%02dT%02d:00:00,%s,%d\n", at.year, at.month,
                                at.day, at.hour, number, s.starred ? 1 : 0);
    if (n > 0) out.append(line, static_cast<std::size_t>(n) < sizeof line ? n : sizeof line - 1);
  }
  return out;
}

bool WriteWholeFile(const std::string& path, const std::string& content, std::string& error) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot create a file beside " + path + ": " + std::strerror(errno);
    return false;
  }
  const char* p = content.data();
  std::size_t left = content.size();
  int failure = 0;
  while (left > 0 && failure == 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n > 0) {
      p += n;
      left -= static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      failure = errno;
    } else if (n == 0) {
      failure = EIO;
    }
  }
  if (failure == 0 && ::fsync(fd) != 0 && errno != EINVAL) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  // mkstemp makes the file private; a CSV is as readable as any file the user makes.
  if (failure == 0) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::chmod(temp.c_str(), 0666 & ~mask) != 0) failure = errno;
  }
  if (failure == 0 && ::rename(temp.c_str(), path.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(temp.c_str());
    error = "cannot write " + path + ": " + std::strerror(failure);
    return false;
  }
  return true;
}

}  // namespace cli
