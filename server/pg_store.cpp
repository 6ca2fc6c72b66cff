#include "server/pg_store.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Two instances starting at once make the table one after the other.
constexpr const char* kSchema = R"(
SELECT pg_advisory_lock(7461);
CREATE TABLE IF NOT EXISTS runs(
  id BIGSERIAL PRIMARY KEY,
  digest TEXT NOT NULL UNIQUE,
  name TEXT NOT NULL,
  episode INTEGER NOT NULL,
  potions INTEGER NOT NULL,
  stage INTEGER NOT NULL,
  level INTEGER NOT NULL,
  ending BOOLEAN NOT NULL,
  continues INTEGER NOT NULL,
  frames BIGINT NOT NULL,
  version TEXT NOT NULL,
  submitted TEXT NOT NULL,
  hidden BOOLEAN NOT NULL DEFAULT FALSE,
  file TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS runs_by_place ON runs(episode, hidden, potions DESC, id);
SELECT pg_advisory_unlock(7461);
)";

constexpr const char* kColumns =
    "id, name, episode, potions, stage, level, ending, continues, frames, version, submitted, hidden";

const std::pair<const char*, std::string> kStatements[] = {
    {"find", "SELECT id FROM runs WHERE digest = $1"},
    {"insert",
     "INSERT INTO runs(digest, name, episode, potions, stage, level, ending, continues, frames, version, "
     "submitted, file) VALUES($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12) "
     "ON CONFLICT (digest) DO NOTHING RETURNING id"},
    {"list", std::string("SELECT ") + kColumns +
                 " FROM runs WHERE episode = $1 AND NOT hidden ORDER BY potions DESC, id LIMIT $2 OFFSET $3"},
    {"get", std::string("SELECT ") + kColumns + " FROM runs WHERE id = $1"},
    {"file", "SELECT file FROM runs WHERE id = $1"},
    {"place",
     "SELECT COUNT(*) FROM runs WHERE episode = $1 AND NOT hidden AND (potions > $2 OR (potions = $2 AND id < $3))"},
    {"hide", "UPDATE runs SET hidden = TRUE WHERE id = $1"},
};

long long Number(PGresult* r, int row, int column) { return std::atoll(PQgetvalue(r, row, column)); }

bool Flag(PGresult* r, int row, int column) { return PQgetvalue(r, row, column)[0] == 't'; }

HallRun ReadRun(PGresult* r, int row) {
  HallRun run;
  run.id = Number(r, row, 0);
  run.name = PQgetvalue(r, row, 1);
  run.episode = static_cast<int>(Number(r, row, 2));
  run.potions = static_cast<int32_t>(Number(r, row, 3));
  run.stage = static_cast<int>(Number(r, row, 4));
  run.level = static_cast<int>(Number(r, row, 5));
  run.ending = Flag(r, row, 6);
  run.continues = static_cast<int>(Number(r, row, 7));
  run.frames = Number(r, row, 8);
  run.version = PQgetvalue(r, row, 9);
  run.submitted = PQgetvalue(r, row, 10);
  run.hidden = Flag(r, row, 11);
  return run;
}

}  // namespace

PgStore::PgStore(Key, std::string conninfo) : conninfo_(std::move(conninfo)) {}
PgStore::~PgStore() = default;

std::unique_ptr<PgStore> PgStore::Open(const std::string& conninfo, std::string& error) {
  auto store = std::make_unique<PgStore>(Key{}, conninfo);
  if (!store->Connect(error)) return nullptr;
  return store;
}

bool PgStore::Connect(std::string& error) {
  db_.reset(PQconnectdb(conninfo_.c_str()));
  if (!db_ || PQstatus(db_.get()) != CONNECTION_OK) {
    error = std::string("PostgreSQL: ") + (db_ ? PQerrorMessage(db_.get()) : "out of memory");
    db_.reset();
    return false;
  }
  // The schema has no parameters; it is the one statement not prepared.
  Result schema(PQexec(db_.get(), kSchema));
  if (PQresultStatus(schema.get()) != PGRES_TUPLES_OK && PQresultStatus(schema.get()) != PGRES_COMMAND_OK) {
    error = std::string("PostgreSQL: cannot set up the tables: ") + PQerrorMessage(db_.get());
    db_.reset();
    return false;
  }
  for (const auto& [name, sql] : kStatements) {
    Result prepared(PQprepare(db_.get(), name, sql.c_str(), 0, nullptr));
    if (PQresultStatus(prepared.get()) != PGRES_COMMAND_OK) {
      error = std::string("PostgreSQL: cannot prepare a statement: ") + PQerrorMessage(db_.get());
      db_.reset();
      return false;
    }
  }
  return true;
}

std::optional<PgStore::Result> PgStore::Run(const char* statement, const std::vector<std::string>& params) {
  std::vector<const char*> values;
  for (const std::string& p : params) values.push_back(p.c_str());
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string error;
    if (!db_ && !Connect(error)) {
      std::fprintf(stderr, "velloria-hall: %s\n", error.c_str());
      return std::nullopt;
    }
    Result r(PQexecPrepared(db_.get(), statement, static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0));
    ExecStatusType status = PQresultStatus(r.get());
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) return r;
    std::fprintf(stderr, "velloria-hall: PostgreSQL %s: %s", statement, PQerrorMessage(db_.get()));
    if (PQstatus(db_.get()) == CONNECTION_OK) return std::nullopt;
    db_.reset();  // broken: once more on a new connection
  }
  return std::nullopt;
}

std::optional<int64_t> PgStore::FindByDigest(const std::string& digest) {
  std::lock_guard hold(lock_);
  auto r = Run("find", {digest});
  if (!r || PQntuples(r->get()) == 0) return std::nullopt;
  return Number(r->get(), 0, 0);
}

std::optional<StoredRun> PgStore::Insert(const HallRun& run, const std::string& digest, const std::string& file) {
  std::lock_guard hold(lock_);
  auto r = Run("insert", {digest, run.name, std::to_string(run.episode), std::to_string(run.potions),
                          std::to_string(run.stage), std::to_string(run.level), run.ending ? "true" : "false",
                          std::to_string(run.continues), std::to_string(run.frames), run.version, run.submitted, file});
  if (!r) return std::nullopt;
  if (PQntuples(r->get()) == 1) return StoredRun{Number(r->get(), 0, 0), false};
  auto found = Run("find", {digest});
  if (!found || PQntuples(found->get()) == 0) return std::nullopt;
  return StoredRun{Number(found->get(), 0, 0), true};
}

std::optional<std::vector<HallRun>> PgStore::List(int episode, int limit, int offset) {
  std::lock_guard hold(lock_);
  auto r = Run("list", {std::to_string(episode), std::to_string(limit), std::to_string(offset)});
  if (!r) return std::nullopt;
  std::vector<HallRun> runs;
  for (int row = 0; row < PQntuples(r->get()); ++row) runs.push_back(ReadRun(r->get(), row));
  return runs;
}

std::optional<HallRun> PgStore::Get(int64_t id) {
  std::lock_guard hold(lock_);
  auto r = Run("get", {std::to_string(id)});
  if (!r || PQntuples(r->get()) == 0) return std::nullopt;
  return ReadRun(r->get(), 0);
}

std::optional<std::string> PgStore::File(int64_t id) {
  std::lock_guard hold(lock_);
  auto r = Run("file", {std::to_string(id)});
  if (!r || PQntuples(r->get()) == 0) return std::nullopt;
  return std::string(PQgetvalue(r->get(), 0, 0), static_cast<size_t>(PQgetlength(r->get(), 0, 0)));
}

std::optional<int> PgStore::Place(const HallRun& run) {
  std::lock_guard hold(lock_);
  auto r = Run("place", {std::to_string(run.episode), std::to_string(run.potions), std::to_string(run.id)});
  if (!r || PQntuples(r->get()) == 0) return std::nullopt;
  return static_cast<int>(Number(r->get(), 0, 0)) + 1;
}

bool PgStore::Hide(int64_t id) {
  std::lock_guard hold(lock_);
  auto r = Run("hide", {std::to_string(id)});
  return r && std::atoi(PQcmdTuples(r->get())) == 1;
}
