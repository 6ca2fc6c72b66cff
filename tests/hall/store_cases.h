#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/run_store.h"

// One set of checks for every store.
inline void CheckRankingOrder(RunStore& store) {
  auto keep = [&](const std::string& digest, int episode, int potions) {
    HallRun run;
    run.name = "RUN " + digest;
    run.episode = episode;
    run.potions = potions;
    run.stage = 2;
    run.level = 5;
    run.frames = 1000;
    run.version = "0.1.0";
    run.submitted = UtcNow();
    auto stored = store.Insert(run, digest, "file " + digest);
    EXPECT_TRUE(stored && !stored->existed) << digest;
    return stored ? stored->id : 0;
  };
  int64_t a = keep("a", 1, 100);
  int64_t b = keep("b", 1, 250);
  int64_t c = keep("c", 1, 100);
  int64_t d = keep("d", 1, 0);
  int64_t e = keep("e", 1, 250);
  int64_t other = keep("f", 2, 900);

  auto ids = [&](int episode, int limit, int offset) {
    std::vector<int64_t> list;
    auto runs = store.List(episode, limit, offset);
    EXPECT_TRUE(runs);
    for (const HallRun& run : runs.value_or(std::vector<HallRun>{})) list.push_back(run.id);
    return list;
  };
  EXPECT_EQ(ids(1, 10, 0), (std::vector<int64_t>{b, e, a, c, d}));
  EXPECT_EQ(ids(1, 2, 1), (std::vector<int64_t>{e, a}));
  EXPECT_EQ(ids(2, 10, 0), (std::vector<int64_t>{other}));
  EXPECT_TRUE(ids(3, 10, 0).empty());
  EXPECT_EQ(store.Place(store.Get(c).value()), 4);

  // The same file again is the run kept before, whatever it claims.
  HallRun again = store.Get(a).value();
  again.potions = 9999;
  auto stored = store.Insert(again, "a", "file a");
  ASSERT_TRUE(stored);
  EXPECT_TRUE(stored->existed);
  EXPECT_EQ(stored->id, a);
  EXPECT_EQ(store.FindByDigest("a"), a);
  EXPECT_EQ(store.Get(a)->potions, 100);
  EXPECT_EQ(store.File(a), "file a");

  EXPECT_TRUE(store.Hide(b));
  EXPECT_FALSE(store.Hide(424242));
  EXPECT_TRUE(store.Get(b)->hidden);
  EXPECT_EQ(ids(1, 10, 0), (std::vector<int64_t>{e, a, c, d}));
  EXPECT_EQ(store.Place(store.Get(c).value()), 3);
}
