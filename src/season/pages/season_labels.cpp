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
  // Appended piece by piece: GCC 12's -Wrestrict takes `" (" + std::to_string(n)` for an overlap.
  TellApart(labels, [&](std::size_t i, int) {
    std::string date = " ";
    date += DateText(sources[i].season->start.Date());
    return date;
  });
  TellApart(labels, [](std::size_t, int n) {
    std::string count;
    if (n > 1) {
      count += " (";
      count += std::to_string(n);
      count += ')';
    }
    return count;
  });
  return labels;
}

}  // namespace pt::season
