#include "server/sqlite_store.h"

#include <cstdio>

namespace {

constexpr int kBusyWaitMs = 5000;

constexpr const char* kSchema = R"(
PRAGMA journal_mode=WAL;
PRAGMA synchronous=FULL;
CREATE TABLE IF NOT EXISTS runs(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  digest TEXT NOT NULL UNIQUE,
  name TEXT NOT NULL,
  episode INTEGER NOT NULL,
  potions INTEGER NOT NULL,
  stage INTEGER NOT NULL,
  level INTEGER NOT NULL,
  ending INTEGER NOT NULL,
  continues INTEGER NOT NULL,
  frames INTEGER NOT NULL,
  version TEXT NOT NULL,
  submitted TEXT NOT NULL,
  hidden INTEGER NOT NULL DEFAULT 0,
  file TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS runs_by_place ON runs(episode, hidden, potions DESC, id);
)";

constexpr const char* kColumns =
    "id, name, episode, potions, stage, level, ending, continues, frames, version, submitted, hidden";

struct FinalizeStmt {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, FinalizeStmt>;

// Resets a statement when the call using it ends, whatever way it ends.
class Use {
 public:
  explicit Use(const Stmt& s) : s_(s.get()) {}
  ~Use() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  Use(const Use&) = delete;
  Use& operator=(const Use&) = delete;
  sqlite3_stmt* operator*() const { return s_; }

 private:
  sqlite3_stmt* s_;
};

std::string Text(sqlite3_stmt* s, int column) {
  const unsigned char* text = sqlite3_column_text(s, column);
  return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(s, column)) : std::string();
}

HallRun ReadRun(sqlite3_stmt* s) {
  HallRun r;
  r.id = sqlite3_column_int64(s, 0);
  r.name = Text(s, 1);
  r.episode = sqlite3_column_int(s, 2);
  r.potions = sqlite3_column_int(s, 3);
  r.stage = sqlite3_column_int(s, 4);
  r.level = sqlite3_column_int(s, 5);
  r.ending = sqlite3_column_int(s, 6) != 0;
  r.continues = sqlite3_column_int(s, 7);
  r.frames = sqlite3_column_int64(s, 8);
  r.version = Text(s, 9);
  r.submitted = Text(s, 10);
  r.hidden = sqlite3_column_int(s, 11) != 0;
  return r;
}

void BindText(sqlite3_stmt* s, int index, const std::string& text) {
  sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

struct SqliteStore::Statements {
  Stmt findByDigest, insert, list, get, file, place, hide;
};

std::unique_ptr<SqliteStore> SqliteStore::Open(const std::string& path, std::string& error) {
  auto store = std::make_unique<SqliteStore>(Key{});
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
  store->db_.reset(db);
  if (rc != SQLITE_OK) {
    error = path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyWaitMs);
  char* message = nullptr;
  if (sqlite3_exec(db, kSchema, nullptr, nullptr, &message) != SQLITE_OK) {
    error = path + ": " + (message ? message : "cannot set up the tables");
    sqlite3_free(message);
    return nullptr;
  }
  if (!store->Prepare(error)) return nullptr;
  return store;
}

SqliteStore::SqliteStore(Key) {}
SqliteStore::~SqliteStore() = default;

bool SqliteStore::Prepare(std::string& error) {
  s_ = std::make_unique<Statements>();
  std::string columns = kColumns;
  const std::pair<Stmt*, std::string> all[] = {
      {&s_->findByDigest, "SELECT id FROM runs WHERE digest = ?1"},
      {&s_->insert,
       "INSERT INTO runs(digest, name, episode, potions, stage, level, ending, continues, frames, version, "
       "submitted, file) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12) "
       "ON CONFLICT(digest) DO NOTHING"},
      {&s_->list, "SELECT " + columns +
                      " FROM runs WHERE episode = ?1 AND hidden = 0 ORDER BY potions DESC, id LIMIT ?2 OFFSET ?3"},
      {&s_->get, "SELECT " + columns + " FROM runs WHERE id = ?1"},
      {&s_->file, "SELECT file FROM runs WHERE id = ?1"},
      {&s_->place,
       "SELECT COUNT(*) FROM runs WHERE episode = ?1 AND hidden = 0 AND (potions > ?2 OR (potions = ?2 AND id < ?3))"},
      {&s_->hide, "UPDATE runs SET hidden = 1 WHERE id = ?1"},
  };
  for (const auto& [stmt, sql] : all) {
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v3(db_.get(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &prepared, nullptr) != SQLITE_OK) {
      error = std::string("cannot prepare a statement: ") + sqlite3_errmsg(db_.get());
      return false;
    }
    stmt->reset(prepared);
  }
  return true;
}

void SqliteStore::Complain(const char* what) {
  std::fprintf(stderr, "velloria-hall: %s: %s\n", what, sqlite3_errmsg(db_.get()));
}

std::optional<int64_t> SqliteStore::FindByDigest(const std::string& digest) {
  std::lock_guard hold(lock_);
  Use s(s_->findByDigest);
  BindText(*s, 1, digest);
  if (sqlite3_step(*s) == SQLITE_ROW) return sqlite3_column_int64(*s, 0);
  return std::nullopt;
}

std::optional<StoredRun> SqliteStore::Insert(const HallRun& run, const std::string& digest, const std::string& file) {
  std::lock_guard hold(lock_);
  {
    Use s(s_->insert);
    BindText(*s, 1, digest);
    BindText(*s, 2, run.name);
    sqlite3_bind_int(*s, 3, run.episode);
    sqlite3_bind_int(*s, 4, run.potions);
    sqlite3_bind_int(*s, 5, run.stage);
    sqlite3_bind_int(*s, 6, run.level);
    sqlite3_bind_int(*s, 7, run.ending ? 1 : 0);
    sqlite3_bind_int(*s, 8, run.continues);
    sqlite3_bind_int64(*s, 9, run.frames);
    BindText(*s, 10, run.version);
    BindText(*s, 11, run.submitted);
    BindText(*s, 12, file);
    if (sqlite3_step(*s) != SQLITE_DONE) {
      Complain("cannot keep a run");
      return std::nullopt;
    }
    if (sqlite3_changes(db_.get()) == 1) return StoredRun{sqlite3_last_insert_rowid(db_.get()), false};
  }
  Use s(s_->findByDigest);
  BindText(*s, 1, digest);
  if (sqlite3_step(*s) == SQLITE_ROW) return StoredRun{sqlite3_column_int64(*s, 0), true};
  Complain("a run neither kept nor there");
  return std::nullopt;
}

std::optional<std::vector<HallRun>> SqliteStore::List(int episode, int limit, int offset) {
  std::lock_guard hold(lock_);
  Use s(s_->list);
  sqlite3_bind_int(*s, 1, episode);
  sqlite3_bind_int(*s, 2, limit);
  sqlite3_bind_int(*s, 3, offset);
  std::vector<HallRun> runs;
  int rc = 0;
  while ((rc = sqlite3_step(*s)) == SQLITE_ROW) runs.push_back(ReadRun(*s));
  if (rc != SQLITE_DONE) {
    Complain("cannot list runs");
    return std::nullopt;
  }
  return runs;
}

std::optional<HallRun> SqliteStore::Get(int64_t id) {
  std::lock_guard hold(lock_);
  Use s(s_->get);
  sqlite3_bind_int64(*s, 1, id);
  if (sqlite3_step(*s) == SQLITE_ROW) return ReadRun(*s);
  return std::nullopt;
}

std::optional<std::string> SqliteStore::File(int64_t id) {
  std::lock_guard hold(lock_);
  Use s(s_->file);
  sqlite3_bind_int64(*s, 1, id);
  if (sqlite3_step(*s) == SQLITE_ROW) return Text(*s, 0);
  return std::nullopt;
}

std::optional<int> SqliteStore::Place(const HallRun& run) {
  std::lock_guard hold(lock_);
  Use s(s_->place);
  sqlite3_bind_int(*s, 1, run.episode);
  sqlite3_bind_int(*s, 2, run.potions);
  sqlite3_bind_int64(*s, 3, run.id);
  if (sqlite3_step(*s) != SQLITE_ROW) {
    Complain("cannot count places");
    return std::nullopt;
  }
  return sqlite3_column_int(*s, 0) + 1;
}

bool SqliteStore::Hide(int64_t id) {
  std::lock_guard hold(lock_);
  Use s(s_->hide);
  sqlite3_bind_int64(*s, 1, id);
  if (sqlite3_step(*s) != SQLITE_DONE) {
    Complain("cannot hide a run");
    return false;
  }
  return sqlite3_changes(db_.get()) == 1;
}
