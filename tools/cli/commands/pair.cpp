#include "commands/pair.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "commands/shared_options.h"
#include "exit_status.h"
#include "file_clashes.h"
#include "input_files.h"
#include "season_outputs.h"
#include "output_files.h"
#include "say.h"
#include "season/io/season_file.h"
#include "season/model/pair.h"
#include "season/pages/page_text.h"
#include "season/pages/pair_csv.h"
#include "season/pages/pair_page.h"

namespace cli {

namespace {

// The difference is shown to a tenth, so a margin is one too: a finer one could not be told
// from the rounded figures it is held against.
bool ParseMargin(const std::string& text, std::int64_t& tenths) {
  // Digits and a point only: strtod would also take " 2", "1e1" or a hexadecimal "0x2".
  if (text.find_first_not_of("0123456789.") != std::string::npos) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(v >= 0.1 - 1e-9 && v <= 20.0 + 1e-9)) return false;
  if (std::fabs(v * 10.0 - std::round(v * 10.0)) > 1e-6) return false;
  tenths = std::llround(v * 10.0);
  return true;
}

bool ReadStageDate(const std::string& text, const char* option, std::optional<pt::season::CivilDate>& date,
                   std::string& error) {
  date.reset();
  if (text.empty()) return true;
  pt::season::CivilDate d;
  if (!ParseIsoDate(text, d)) {
    error = std::string(option) + " must be YYYY-MM-DD, a real date, not \"" + text + "\"";
    return false;
  }
  date = d;
  return true;
}

std::string Span(const pt::season::Season& season) {
  const auto dates = pt::season::SeasonDates(season);
  if (!dates) return "holds no sample";
  return "runs from " + pt::season::DateText(dates->first) + " to " + pt::season::DateText(dates->second);
}

}  // namespace

void PairCommand::Register(CLI::App& app) {
  sub_ = app.add_subcommand("pair",
                            "an inlet logger and a field logger of one paddy, aligned by date and hour: --daily "
                            "both day means and their difference for each day complete in both, --season a page "
                            "with both hourly lines, the field's difference from the inlet and the days it ran "
                            "beyond --margin");
  sub_->add_option("INLET", options.inlet, "the inlet logger's archive or tavovalu.html")->option_text(" ")->required();
  sub_->add_option("FIELD", options.field, "the field logger's archive or tavovalu.html")->option_text(" ")->required();
  sub_->add_option("--daily", options.daily,
                   "a UTF-8 CSV of the days complete in both: date, inlet_mean_c, field_mean_c, difference_c "
                   "(field minus inlet, rounded half up to 0.1)")
      ->option_text("FILE");
  sub_->add_option("--season", options.page, "a page (HTML with plots) to print")->option_text("FILE");
  sub_->add_option("--margin", options.marginText,
                   "list the days whose difference is more than C above or below zero (default 2; 0.1 to 20, "
                   "one decimal)")
      ->option_text("C");
  sub_->add_flag("--csv-bom", options.bomFlag,
                 std::string("begin the CSV with the byte-order mark Excel needs") +
                     (kCsvBomByDefault ? " (the default here)" : ""));
  sub_->add_flag("--no-csv-bom", options.noBomFlag,
                 std::string("begin the CSV without it") + (kCsvBomByDefault ? "" : " (the default here)"));
  sub_->add_option("--transplanted", options.transplantedText,
                   "the day the field was transplanted: the page shades the stages and names each listed day's")
      ->option_text("YYYY-MM-DD");
  sub_->add_option("--heading", options.headingText,
                   "the day the field headed (出穂): the page shades the stages and names each listed day's")
      ->option_text("YYYY-MM-DD");
}

bool PairCommand::Check(std::string& error) {
  PairOptions& opts = options;
  if (opts.daily.empty() && opts.page.empty()) {
    error = "pair needs --season OUT.html, --daily OUT.csv or both";
    return false;
  }
  if (opts.bomFlag && opts.noBomFlag) {
    error = "--csv-bom and --no-csv-bom ask for opposite things; give one of them";
    return false;
  }
  opts.csvBom = opts.bomFlag || (kCsvBomByDefault && !opts.noBomFlag);
  opts.marginTenths = 20;
  if (!opts.marginText.empty() && !ParseMargin(opts.marginText, opts.marginTenths)) {
    error = "--margin must be degrees from 0.1 to 20 with at most one decimal, not \"" + opts.marginText + "\"";
    return false;
  }
  if (!ReadStageDate(opts.transplantedText, "--transplanted", opts.stages.transplanted, error) ||
      !ReadStageDate(opts.headingText, "--heading", opts.stages.heading, error)) {
    return false;
  }
  if (opts.stages.transplanted && opts.stages.heading &&
      pt::season::DayNumber(*opts.stages.heading) <= pt::season::DayNumber(*opts.stages.transplanted)) {
    error = "--heading " + opts.headingText + " must come after --transplanted " + opts.transplantedText;
    return false;
  }
  return true;
}

int PairCommand::Run(const pt::TerminalText&) {
  const PairOptions& opts = options;
  std::string error;
  if (NamesSameFile(opts.inlet, opts.field)) {
    Say("INLET " + opts.inlet + " and FIELD " + opts.field +
        " are one file: give the inlet logger's season and the field logger's");
    return kExitBadInput;
  }
  CommandFiles files;
  files.inputs = {{"INLET", opts.inlet}, {"FIELD", opts.field}};
  if (!opts.daily.empty()) files.outputs.push_back({"--daily", opts.daily});
  if (!opts.page.empty()) files.outputs.push_back({"--season", opts.page});
  const ExitStatus clash = CheckNoClash(files, error);
  if (clash != kExitOk) {
    Say(error);
    return clash;
  }

  // Both files are read, and the pair judged, before anything is written.
  pt::season::Season inlet, field;
  if (!ReadSeasonFromInput(opts.inlet, &inlet, &error) || !ReadSeasonFromInput(opts.field, &field, &error)) {
    Say(error);
    return kExitBadInput;
  }
  const pt::season::SeasonPair pair = pt::season::PairSeasons(inlet, field);
  if (pair.days.empty()) {
    Say("INLET and FIELD share no complete day: " + opts.inlet + " " + Span(inlet) + ", " + opts.field + " " +
        Span(field));
    return kExitBadInput;
  }

  // The stages are the field's crop; dates outside what is paired are most likely mistyped.
  WarnOfStagesOutside(field, opts.stages, "FIELD");
  // Two files of one logger's readings pair as a field no different from its inlet.
  if (std::all_of(pair.hours.begin(), pair.hours.end(),
                  [](const pt::season::PairedHour& h) { return h.inlet == h.field; })) {
    Say("warning: INLET and FIELD hold the same reading in every hour they share: are they one logger read twice?");
  }

  ExitStatus status = kExitOk;
  WriteNamedOutput("daily", "daily figures", opts.daily, pt::season::FormatPairDailyCsv(pair, opts.csvBom), status);
  if (!opts.page.empty()) {
    const pt::season::PairPageOptions page{opts.inlet, opts.field, opts.marginTenths, opts.stages};
    WriteNamedOutput("season", "page", opts.page, pt::season::FormatPairPage(inlet, field, pair, page), status);
  }
  return status;
}

}  // namespace cli
