#pragma once
// The names seasons go by when they stand side by side: on the comparison page and in its CSV,
// each season's name must tell it from every other.
#include <string>
#include <vector>

#include "season/model/season.h"

namespace pt::season {

struct LabelSource {
  std::string byHand;      // the label given for the file; empty for none
  std::string fileName;    // the file's own name
  std::string folderName;  // the name of the folder it is in; empty where the path names none
  const Season* season = nullptr;
};

// One label a season, in order: the label given by hand, else the memo, else for a report read
// back (which keeps no memo) its folder's name, since every report is called tavovalu.html, else
// the file's name. Where seasons share one, each is followed by its first sample's date, and
// where that still leaves two alike, by " (2)", " (3)"... in turn.
std::vector<std::string> SeasonLabels(const std::vector<LabelSource>& sources);

}  // namespace pt::season
