#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A ranked run as the hall keeps it.
struct HallRun {
  int64_t id = 0;
  std::string name;
  int episode = 0;
  int32_t potions = 0;
  int stage = 0;
  int level = 0;
  bool ending = false;
  int continues = 0;
  int64_t frames = 0;
  std::string version;
  std::string submitted;  // UTC, "2026-12-08T12:00:00Z"
  bool hidden = false;
};

struct StoredRun {
  int64_t id = 0;
  bool existed = false;  // the same file was there already
};

// Where the runs live (SQLite or PostgreSQL). Every operation is safe to call
// from several threads; a failure of the database reads as nothing (or false)
// and is told on standard error.
class RunStore {
 public:
  virtual ~RunStore() = default;
  // The id of the run sent as the file with this digest, if any.
  virtual std::optional<int64_t> FindByDigest(const std::string& digest) = 0;
  // Keeps a verified run and its file, committed before it returns; a file
  // already kept gives its id with existed set.
  virtual std::optional<StoredRun> Insert(const HallRun& run, const std::string& digest, const std::string& file) = 0;
  // The shown runs of an episode in the game's ranking order: more potions
  // first, equal counts in the order they came.
  virtual std::optional<std::vector<HallRun>> List(int episode, int limit, int offset) = 0;
  virtual std::optional<HallRun> Get(int64_t id) = 0;
  virtual std::optional<std::string> File(int64_t id) = 0;
  // The run's place among the shown runs of its episode, 1 first.
  virtual std::optional<int> Place(const HallRun& run) = 0;
  // Takes a run off the lists, keeping it; false when there is no such run.
  virtual bool Hide(int64_t id) = 0;
};

// Now, as the stores write it.
std::string UtcNow();
