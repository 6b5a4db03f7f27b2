#include "sim_options.h"

#include <cerrno>
#include <cstdlib>

#include "sim_protocol.h"

namespace sim {

const char* const kUsage =
    "usage: paddytherm-logger-sim [options]\n"
    "A simulated paddy water-temperature logger on a pseudo-terminal. Prints the terminal's\n"
    "path and answers the logger's commands until killed (SIGTERM/SIGINT) or --exit-after.\n"
    "\n"
    "  --link PATH          make PATH a symlink to the terminal (a stale link is replaced)\n"
    "  --exit-after SECONDS stop after this many seconds\n"
    "  --start YYYYMMDDhhmm the start record (default 200804140600)\n"
    "  --samples N          stored samples, 0..10000 (default 2400, 100 days)\n"
    "  --seed N             seed of the generated season and of the faults (default 1)\n"
    "  --words FILE         serve these samples, one hexadecimal word a line\n"
    "  --dump-words FILE    write the served samples there, one hexadecimal word a line\n"
    "  --memo TEXT          the memo, padded or cut to 16 bytes (default \"PADDY A-1\")\n"
    "  --clock YYYYMMDDhhmmss  the clock at start (default: this machine's local time)\n"
    "  --transcript FILE    log every received command line with its time in ms\n"
    "  --pace               send no faster than the line's speed allows\n"
    "faults:\n"
    "  --silent             never answer\n"
    "  --silent-for CMD     never answer the command CMD (e.g. Cget); may be repeated\n"
    "  --refuse-acks        answer NG to Cset, Wmem, Calm1 and Calm2\n"
    "  --drop-first         ignore each new command once; answer its repetition\n"
    "  --split              send each reply in two or three pieces, 30 ms apart\n"
    "  --noise N            N bytes of line noise (never white space or NUL) before each reply\n"
    "  --nul                a NUL inside each reply, after its LF\n"
    "  --pointer TEXT       reply TEXT to Rpt\n"
    "  --hangup-after N     answer N commands, then hang up at the next one\n"
    "  --delay MS           wait MS milliseconds before each reply\n"
    "  --late CMD:MS        answer the first ask of CMD (e.g. Rdt0005) MS ms after it came;\n"
    "                       may be repeated\n"
    "  --late-percent PCT:MS  answer the first ask of PCT per cent of the samples MS ms late\n"
    "  --garble-ended       end garbled replies (wrong line settings) with a CR\n"
    "  --spoil PCT          spoil PCT per cent (0..100) of the sample replies on their first ask\n"
    "  --spoil-kinds LIST   how: a comma list of letters, stray-byte, stray-digit, high-byte,\n"
    "                       nul, silent (default all)\n"
    "  --spoil-always INDEX spoil sample INDEX (letters) on every ask; may be repeated\n"
    "  --help               this text\n"
    "  --version            the program's name and version\n";

namespace {

bool ToLong(const std::string& text, long lo, long hi, long& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  out = v;
  return true;
}

bool ToPercent(const std::string& text, double& out) {
  char* end = nullptr;
  errno = 0;
  const double pct = std::strtod(text.c_str(), &end);
  if (text.empty() || errno != 0 || *end != '\0' || !(pct >= 0 && pct <= 100)) return false;
  out = pct;
  return true;
}

}  // namespace

std::string PadMemo(const std::string& memo) {
  std::string out = memo.substr(0, kMemoSize);
  out.resize(kMemoSize, ' ');
  return out;
}

bool ParseOptions(const std::vector<std::string>& args, Options& opts, std::string& error) {
  bool samplesGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool takesValue =
        a == "--link" || a == "--exit-after" || a == "--start" || a == "--samples" ||
        a == "--seed" || a == "--words" || a == "--dump-words" || a == "--memo" ||
        a == "--clock" || a == "--transcript" || a == "--noise" || a == "--pointer" ||
        a == "--hangup-after" || a == "--silent-for" || a == "--delay" || a == "--spoil" || a == "--spoil-kinds" ||
        a == "--spoil-always" || a == "--late" || a == "--late-percent";
    std::string v;
    if (takesValue) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      v = args[++i];
    }
    long n = 0;
    auto bad = [&](const char* what) {
      error = a + ": " + what + ", not \"" + v + "\"";
      return false;
    };
    if (a == "--help" || a == "-h") {
      opts.help = true;
    } else if (a == "--version") {
      opts.version = true;
    } else if (a == "--link") {
      if (v.empty()) return bad("expected a path");
      opts.link = v;
    } else if (a == "--exit-after") {
      char* end = nullptr;
      errno = 0;
      const double s = std::strtod(v.c_str(), &end);
      if (v.empty() || errno != 0 || *end != '\0' || !(s > 0) || s > 1e7)
        return bad("expected a positive number of seconds");
      opts.exitAfterSeconds = s;
    } else if (a == "--start") {
      if (!ParseCompactTime(v, 12, opts.start)) return bad("expected a date YYYYMMDDhhmm");
    } else if (a == "--clock") {
      CivilTime t;
      if (!ParseCompactTime(v, 14, t)) return bad("expected a date YYYYMMDDhhmmss");
      opts.clock = t;
    } else if (a == "--samples") {
      if (!ToLong(v, 0, kMaxSamples, n)) return bad("expected 0 to 10000");
      opts.samples = static_cast<int>(n);
      samplesGiven = true;
    } else if (a == "--seed") {
      if (!ToLong(v, 0, 0xFFFFFFFFL, n)) return bad("expected 0 to 4294967295");
      opts.seed = static_cast<std::uint32_t>(n);
    } else if (a == "--words") {
      opts.wordsFile = v;
    } else if (a == "--dump-words") {
      opts.dumpWordsFile = v;
    } else if (a == "--memo") {
      opts.memo = v;
    } else if (a == "--transcript") {
      opts.transcriptFile = v;
    } else if (a == "--noise") {
      if (!ToLong(v, 0, 100000, n)) return bad("expected 0 to 100000 bytes");
      opts.noise = static_cast<int>(n);
    } else if (a == "--pointer") {
      if (v.find('\r') != std::string::npos) return bad("a CR would end the reply early");
      opts.pointer = v;
    } else if (a == "--silent-for") {
      if (v.empty()) return bad("expected a command, e.g. Cget");
      opts.silentFor.push_back(v);
    } else if (a == "--hangup-after") {
      if (!ToLong(v, 0, 1000000000L, n)) return bad("expected a count of commands");
      opts.hangupAfter = static_cast<int>(n);
    } else if (a == "--delay") {
      if (!ToLong(v, 0, 600000, n)) return bad("expected 0 to 600000 ms");
      opts.delayMs = static_cast<int>(n);
    } else if (a == "--late") {
      const std::size_t colon = v.rfind(':');
      if (colon == std::string::npos || colon == 0 || !ToLong(v.substr(colon + 1), 0, 600000, n))
        return bad("expected CMD:MS, e.g. Rdt0005:1050");
      opts.late.push_back({v.substr(0, colon), static_cast<int>(n)});
    } else if (a == "--late-percent") {
      const std::size_t colon = v.rfind(':');
      double pct = 0;
      if (colon == std::string::npos || !ToPercent(v.substr(0, colon), pct) ||
          !ToLong(v.substr(colon + 1), 0, 600000, n))
        return bad("expected PCT:MS, e.g. 3:1050");
      opts.latePercent = pct;
      opts.latePercentMs = static_cast<int>(n);
    } else if (a == "--spoil") {
      double pct = 0;
      if (!ToPercent(v, pct)) return bad("expected a percentage, 0 to 100");
      opts.spoilPercent = pct;
    } else if (a == "--spoil-kinds") {
      if (!ParseSpoilKinds(v, opts.spoilKinds))
        return bad("expected a comma list of letters, stray-byte, stray-digit, high-byte, nul, silent");
    } else if (a == "--spoil-always") {
      if (!ToLong(v, 0, 9999, n)) return bad("expected a sample index, 0 to 9999");
      opts.spoilAlways.push_back(static_cast<int>(n));
    } else if (a == "--pace") {
      opts.pace = true;
    } else if (a == "--silent") {
      opts.silent = true;
    } else if (a == "--refuse-acks") {
      opts.refuseAcks = true;
    } else if (a == "--drop-first") {
      opts.dropFirst = true;
    } else if (a == "--split") {
      opts.split = true;
    } else if (a == "--nul") {
      opts.nul = true;
    } else if (a == "--garble-ended") {
      opts.garbleEnded = true;
    } else {
      error = "unknown option \"" + a + "\"";
      return false;
    }
  }
  if (!opts.wordsFile.empty() && samplesGiven) {
    error = "--samples and --words both set the sample count; give one of them";
    return false;
  }
  return true;
}

}  // namespace sim
