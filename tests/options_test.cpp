#include <gtest/gtest.h>

#include <vector>

#include "app/options.h"

namespace {
std::optional<Options> Parse(std::vector<const char*> args, std::string& error) {
  args.insert(args.begin(), "velloria");
  return ParseOptions(static_cast<int>(args.size()), args.data(), error);
}
}  // namespace

TEST(Options, ParsesTheRunnerOptions) {
  std::string error;
  auto o = Parse({"--headless", "--frames", "100", "--seed=9", "--shot", "5:a.png", "--shot", "7:b.png", "--start",
                  "2-16:150", "--window", "--scale", "3", "--soak", "4000000000", "--ranking", "r.ini",
                  "--music-volume", "0", "--sound-volume=100"},
                 error);
  ASSERT_TRUE(o) << error;
  EXPECT_TRUE(o->headless);
  EXPECT_EQ(o->frames, 100);
  EXPECT_EQ(o->seed, 9u);
  ASSERT_EQ(o->shots.size(), 2u);
  EXPECT_EQ(o->shots[1].frame, 7);
  EXPECT_EQ(o->shots[1].path, "b.png");
  EXPECT_EQ(o->startStage, 2);
  EXPECT_EQ(o->startLevel, 16);
  EXPECT_EQ(o->startPotions, 150);
  EXPECT_TRUE(o->window);
  EXPECT_EQ(o->scale, 3);
  EXPECT_EQ(o->soakSeed, 4000000000u);
  EXPECT_EQ(o->rankingFile, "r.ini");
  EXPECT_EQ(o->musicVolume, 0);
  EXPECT_EQ(o->soundVolume, 100);
}

TEST(Options, RejectsBadValuesWithAMessage) {
  std::vector<std::vector<const char*>> bad = {
      {"--frames", "-3"},  {"--frames"},          {"--shot", "x.png"}, {"--shot", "3:"}, {"--start", "5-1"},
      {"--start", "1-17"}, {"--start", "1-1:-4"}, {"--scale", "0"},    {"--nonsense"},   {"--headless=1"},
      {"--soak", "-1"},    {"--soak", "seven"},   {"--ranking"},       {"--ranking="},
  };
  for (const char* volume : {"--music-volume", "--sound-volume"}) {
    for (const char* value : {"101", "-1", "half"}) bad.push_back({volume, value});
  }
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(Parse(args, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(Options, HelpListsEveryOption) {
  std::string help = HelpText();
  for (const char* name : {"--headless", "--frames", "--seed", "--input", "--record", "--shot", "--window", "--scale",
                           "--start", "--stats", "--sound-log", "--mute", "--ranking", "--music-volume",
                           "--sound-volume"}) {
    EXPECT_NE(help.find(name), std::string::npos) << name;
  }
}
