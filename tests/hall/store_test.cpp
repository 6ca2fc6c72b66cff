// The stores keep the game's ranking order: more potions first, equal counts
// in the order they came; a file kept twice is one run; a hidden run leaves
// the lists and the places.
#include <gtest/gtest.h>

#include "server/pg_store.h"
#include "server/sqlite_store.h"
#include "tests/hall/store_cases.h"
#include "tests/run_helpers.h"

TEST(SqliteStore, KeepsTheGamesRankingOrder) {
  TestDir dir("hall-store");
  std::string error;
  auto store = SqliteStore::Open((dir / "hall.db").string(), error);
  ASSERT_TRUE(store) << error;
  CheckRankingOrder(*store);
  // What was committed is there for the next opening too.
  store.reset();
  store = SqliteStore::Open((dir / "hall.db").string(), error);
  ASSERT_TRUE(store) << error;
  EXPECT_EQ(store->List(1, 10, 0)->size(), 4u);
}

TEST(SqliteStore, RefusesAFileItCannotOpen) {
  TestDir dir("hall-store-bad");
  std::string error;
  EXPECT_FALSE(SqliteStore::Open((dir / "missing" / "hall.db").string(), error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

// Against the throwaway cluster of tests/hall/with_postgres.sh.
TEST(PgStore, KeepsTheGamesRankingOrder) {
  const char* conninfo = std::getenv("VELLORIA_TEST_POSTGRES");
  if (!conninfo) GTEST_SKIP() << "no PostgreSQL cluster (run through tests/hall/with_postgres.sh)";
  // The cluster is shared with the other tests run on it: start empty.
  PGconn* db = PQconnectdb(conninfo);
  PQclear(PQexec(db, "DROP TABLE IF EXISTS runs"));
  PQfinish(db);
  std::string error;
  auto store = PgStore::Open(conninfo, error);
  ASSERT_TRUE(store) << error;
  CheckRankingOrder(*store);
  EXPECT_FALSE(PgStore::Open(std::string(conninfo) + " dbname=nothing", error));
  EXPECT_NE(error.find("nothing"), std::string::npos) << error;
}
