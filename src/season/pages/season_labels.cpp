#include "season/pages/season_labels.h"

#include <map>

#include "season/pages/page_text.h"

namespace pt::season {

namespace {

std::string OwnName(const LabelSource& s) {
  if (!s.byHand.empty()) return s.byHand;
  if (!s.season->memoUtf8.empty()) return s.season->memoUtf8;
  if (!s.season->replies && !s.folderName.empty()) return s.folderName;
  return s.fileName;
}

// Each label that `labels` holds more than once, followed by `suffix(i)`.
template <typename Suffix>
void TellApart(std::vector<std::string>& labels, Suffix suffix) {
  std::map<std::string, int> uses;
  for (const std::string& l : labels) ++uses[l];
  std::map<std::string, int> seen;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (uses[labels[i]] > 1) labels[i] += suffix(i, ++seen[labels[i]]);
  }
}

}  // namespace

std::vector<std::string> SeasonLabels(const std::vector<LabelSource>& sources) {
  std::vector<std::string> labels;
  for (const LabelSource& s : sources) labels.push_back(OwnName(s));
  TellApart(labels, [&](std::size_t i, int) { return " " + DateText(sources[i].season->start.Date()); });
  TellApart(labels, [](std::size_t, int n) { return n == 1 ? std::string() : " (" + std::to_string(n) + ")"; });
  return labels;
}

}  // namespace pt::season
