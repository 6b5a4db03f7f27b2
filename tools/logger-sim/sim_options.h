#pragma once
// The simulator's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim_faults.h"
#include "sim_season.h"

namespace sim {

struct Options {
  std::string link;                 // symlink to the slave side, "" for none
  double exitAfterSeconds = 0;      // 0: run until a signal
  CivilTime start{2008, 4, 14, 6, 0, 0};
  int samples = 2400;
  std::string memo = "PADDY A-1";
  std::uint32_t seed = 1;
  std::string wordsFile, dumpWordsFile, transcriptFile;
  std::optional<CivilTime> clock;   // the logger's clock at start; the host's local time if unset
  bool pace = false;
  bool silent = false, refuseAcks = false, dropFirst = false, split = false, nul = false;
  bool garbleEnded = false;
  std::vector<std::string> silentFor;  // command words never answered (matched at the line's start)
  int noise = 0;
  std::optional<std::string> pointer;
  int hangupAfter = -1;             // -1: never
  int delayMs = 0;
  struct Late {
    std::string command;  // matched at the line's start, as --silent-for
    int ms;
  };
  std::vector<Late> late;           // the first ask of each answered that late
  double latePercent = 0;           // share of the samples whose first ask is answered late
  int latePercentMs = 0;
  double spoilPercent = 0;          // share of the samples spoilt on their first ask
  std::vector<SpoilKind> spoilKinds{std::begin(kAllSpoilKinds), std::end(kAllSpoilKinds)};
  std::vector<int> spoilAlways;     // samples spoilt on every ask
  bool help = false;
  bool version = false;
};

// Fills `opts` from argv. False with a one-line message in `error` on a bad option.
bool ParseOptions(const std::vector<std::string>& args, Options& opts, std::string& error);
// The memo text cut or padded with spaces to 16 bytes.
std::string PadMemo(const std::string& memo);
extern const char* const kUsage;

}  // namespace sim
