#pragma once

#include <sqlite3.h>

#include <memory>
#include <mutex>
#include <string>

#include "server/run_store.h"

// The runs in one SQLite file (write-ahead log, every commit synced): the
// embedded default, nothing else to start. One connection behind a lock;
// every statement prepared once.
class SqliteStore : public RunStore {
 public:
  // Opens or creates the file; nothing (with error set) when it cannot.
  static std::unique_ptr<SqliteStore> Open(const std::string& path, std::string& error);

 private:
  struct Key {};

 public:
  explicit SqliteStore(Key);
  ~SqliteStore() override;

  std::optional<int64_t> FindByDigest(const std::string& digest) override;
  std::optional<StoredRun> Insert(const HallRun& run, const std::string& digest, const std::string& file) override;
  std::optional<std::vector<HallRun>> List(int episode, int limit, int offset) override;
  std::optional<HallRun> Get(int64_t id) override;
  std::optional<std::string> File(int64_t id) override;
  std::optional<int> Place(const HallRun& run) override;
  bool Hide(int64_t id) override;

 private:
  struct Statements;
  bool Prepare(std::string& error);
  void Complain(const char* what);

  struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
  };
  std::mutex lock_;
  std::unique_ptr<sqlite3, CloseDb> db_;
  std::unique_ptr<Statements> s_;
};
