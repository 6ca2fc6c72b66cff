#pragma once

#include <libpq-fe.h>

#include <memory>
#include <mutex>
#include <string>

#include "server/run_store.h"

// The runs in a PostgreSQL database, which several instances of the hall
// share behind a load balancer. One connection per instance behind a lock,
// made again when it breaks; every statement prepared on it.
class PgStore : public RunStore {
 public:
  // Connects and makes the table when missing; nothing (with error set)
  // when it cannot.
  static std::unique_ptr<PgStore> Open(const std::string& conninfo, std::string& error);

 private:
  struct Key {};

 public:
  PgStore(Key, std::string conninfo);
  ~PgStore() override;

  std::optional<int64_t> FindByDigest(const std::string& digest) override;
  std::optional<StoredRun> Insert(const HallRun& run, const std::string& digest, const std::string& file) override;
  std::optional<std::vector<HallRun>> List(int episode, int limit, int offset) override;
  std::optional<HallRun> Get(int64_t id) override;
  std::optional<std::string> File(int64_t id) override;
  std::optional<int> Place(const HallRun& run) override;
  bool Hide(int64_t id) override;

 private:
  struct ClearResult {
    void operator()(PGresult* r) const { PQclear(r); }
  };
  using Result = std::unique_ptr<PGresult, ClearResult>;
  struct Finish {
    void operator()(PGconn* c) const { PQfinish(c); }
  };

  bool Connect(std::string& error);
  // Runs a prepared statement; nothing (told on standard error) on failure,
  // after one try on a fresh connection when the old one broke.
  std::optional<Result> Run(const char* statement, const std::vector<std::string>& params);

  std::string conninfo_;
  std::mutex lock_;
  std::unique_ptr<PGconn, Finish> db_;
};
