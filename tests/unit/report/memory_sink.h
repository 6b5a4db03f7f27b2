#pragma once
// A report sink in memory that can be told to fail at its creation, at one numbered write or at
// its commit. `placed` is the report in place: what the last successful commit put there.
#include <cstddef>
#include <string>
#include <vector>

#include "report/report_sink.h"

namespace pt::test {

class MemorySink : public ReportSink {
 public:
  bool failCreate = false;
  int failAtWrite = 0;  // 1 is the first write after Create; 0 never fails
  bool failCommit = false;

  std::string placed = "last season's report";
  int commits = 0;  // successful ones

  std::vector<std::string> writes;  // every successful write, in order
  int writeCalls = 0;
  int creates = 0;
  int closes = 0;
  bool open = false;

  bool Create() override {
    ++creates;
    if (failCreate) return false;
    writes.clear();
    writeCalls = 0;
    open = true;
    return true;
  }
  bool Write(const char* bytes, std::size_t length) override {
    if (!open) return false;
    ++writeCalls;
    if (writeCalls == failAtWrite) return false;
    writes.emplace_back(bytes, length);
    return true;
  }
  // Puts whatever it holds in place, even after a failed write: what is committed is the writer's
  // own decision.
  bool Commit() override {
    if (!open || failCommit) return false;
    placed = Contents();
    ++commits;
    open = false;
    return true;
  }
  void Close() override {
    ++closes;
    open = false;
  }

  std::string Contents() const {
    std::string all;
    for (const auto& w : writes) all += w;
    return all;
  }
};

}  // namespace pt::test
