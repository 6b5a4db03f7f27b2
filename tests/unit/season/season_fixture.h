#pragma once
// Seasons for the season tests, made from the logger's replies as a download would get them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "season/model/season.h"

namespace pt::season::test {

inline std::string Reply(const std::string& text) { return "\n" + text + "\r"; }

inline Replies RepliesFor(const std::string& memo, const std::string& stamp, const std::vector<std::uint16_t>& words) {
  Replies r{Reply(memo), Reply(stamp), Reply(std::to_string(words.size())), {}};
  char text[8];
  for (std::uint16_t w : words) {
    std::snprintf(text, sizeof text, "%04X", w);
    r.samples.push_back(Reply(text));
  }
  return r;
}

inline Season SeasonFor(const Replies& replies) {
  Season s;
  std::string error;
  EXPECT_TRUE(SeasonFromReplies(replies, std::nullopt, &s, &error)) << error;
  return s;
}

// A word for `celsius` (a multiple of 1/16), with the no-water bit.
inline std::uint16_t Word(double celsius, bool dry = false) {
  return static_cast<std::uint16_t>(static_cast<int>(celsius * 16) | (dry ? 0x4000 : 0));
}

}  // namespace pt::season::test
