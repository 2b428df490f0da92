#include "settings_store.h"

#include <sqlite3.h>
#include <unistd.h>

#include "paths.h"
#include "text.h"

namespace zephra::common {

class SettingsStore::Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      throw StoreError(std::string("settings store: ") + sqlite3_errmsg(db));
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }

  Statement& Bind(int i, int64_t v) {
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
  }
  Statement& Bind(int i, std::string_view text) {
    sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindBlob(int i, std::string_view bytes) {
    sqlite3_bind_blob(stmt_, i, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // True while a row is available.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const std::string msg = sqlite3_errmsg(db_);
    Reset();
    throw StoreError("settings store: " + msg);
  }
  int64_t Int(int col) { return sqlite3_column_int64(stmt_, col); }
  std::string Text(int col) {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
    const int n = sqlite3_column_bytes(stmt_, col);
    return p ? std::string(p, static_cast<size_t>(n)) : std::string();
  }
  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

namespace {

std::unique_ptr<SettingsStore>& CurrentSlot() {
  static std::unique_ptr<SettingsStore> store;
  return store;
}

// Resets a statement when the scope ends, also on exceptions.
template <class S>
struct ResetGuard {
  S& s;
  ~ResetGuard() { s.Reset(); }
};

std::vector<std::string_view> PathElements(std::string_view path) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t pos = path.find('\\', start);
    if (pos == std::string_view::npos) pos = path.size();
    if (pos > start) out.push_back(path.substr(start, pos - start));
    start = pos + 1;
  }
  return out;
}

}  // namespace

SettingsStore& SettingsStore::Current() {
  auto& slot = CurrentSlot();
  const std::string path = JoinPath(DataHome(), "settings.db");
  if (!slot || slot->Path() != path) {
    slot.reset();
    slot = std::make_unique<SettingsStore>(path);
  }
  return *slot;
}

void SettingsStore::CloseCurrent() { CurrentSlot().reset(); }

SettingsStore::SettingsStore(const std::string& dbPath) : path_(dbPath) {
  const std::string dir = ParentDirectory(dbPath);
  if (!dir.empty() && !DirectoryExists(dir)) MakeDirectories(dir);
  if (sqlite3_open_v2(dbPath.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    const std::string msg = db_ ? sqlite3_errmsg(db_) : "cannot open";
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("settings store " + dbPath + ": " + msg);
  }
  sqlite3_busy_timeout(db_, 30000);
  // Switching to WAL takes a brief exclusive lock; several processes starting together retry.
  for (int attempt = 0;; ++attempt) {
    if (sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) == SQLITE_OK) break;
    if (attempt > 200) Fail("journal mode");
    ::usleep(10000);
  }
  Exec("PRAGMA synchronous=NORMAL");
  Write([&] {
    Exec(
        "CREATE TABLE IF NOT EXISTS keys("
        " id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER, name TEXT NOT NULL, uname TEXT NOT NULL,"
        " UNIQUE(parent, uname))");
    Exec(
        "CREATE TABLE IF NOT EXISTS vals("
        " id INTEGER PRIMARY KEY, key INTEGER NOT NULL, name TEXT NOT NULL, uname TEXT NOT NULL,"
        " data BLOB NOT NULL, UNIQUE(key, uname))");
    Exec("INSERT OR IGNORE INTO keys(id, parent, name, uname) VALUES (1, NULL, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE')");
    Exec("INSERT OR IGNORE INTO keys(id, parent, name, uname) VALUES (2, NULL, 'HKEY_CLASSES_ROOT', 'HKEY_CLASSES_ROOT')");
  });
}

SettingsStore::~SettingsStore() {
  statements_.clear();
  if (db_) sqlite3_close(db_);
}

void SettingsStore::Exec(const char* sql) {
  char* msg = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &msg) != SQLITE_OK) {
    std::string text = msg ? msg : "error";
    sqlite3_free(msg);
    throw StoreError("settings store: " + text);
  }
}

void SettingsStore::Fail(const char* what) {
  throw StoreError(std::string("settings store: ") + what + ": " + sqlite3_errmsg(db_));
}

SettingsStore::Statement& SettingsStore::Prepare(const char* sql) {
  for (auto& [text, stmt] : statements_) {
    if (text == sql) return *stmt;
  }
  statements_.emplace_back(sql, std::make_unique<Statement>(db_, sql));
  return *statements_.back().second;
}

SettingsStore::Transaction::Transaction(SettingsStore& store, bool write) : store_(store) {
  if (store_.depth_ == 0) {
    // Counted only once BEGIN succeeded, so a failed start leaves later calls their own
    // transactions.
    store_.Exec(write ? "BEGIN IMMEDIATE" : "BEGIN");
    outer_ = true;
  }
  ++store_.depth_;
}

void SettingsStore::Transaction::Commit() {
  if (outer_ && !done_) {
    store_.Exec("COMMIT");
  }
  done_ = true;
}

SettingsStore::Transaction::~Transaction() {
  --store_.depth_;
  if (outer_ && !done_) sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::optional<KeyId> SettingsStore::FindChild(KeyId parent, std::string_view name) {
  Statement& s = Prepare("SELECT id FROM keys WHERE parent = ?1 AND uname = ?2");
  ResetGuard<Statement> g{s};
  s.Bind(1, parent).Bind(2, ToUpperAscii(name));
  if (s.Step()) return s.Int(0);
  return std::nullopt;
}

std::optional<KeyId> SettingsStore::FindKey(KeyId parent, std::string_view path) {
  return Read([&]() -> std::optional<KeyId> {
    if (!KeyExists(parent)) return std::nullopt;
    KeyId current = parent;
    for (std::string_view element : PathElements(path)) {
      auto child = FindChild(current, element);
      if (!child) return std::nullopt;
      current = *child;
    }
    return current;
  });
}

KeyId SettingsStore::CreateKey(KeyId parent, std::string_view path) {
  return Write([&]() -> KeyId {
    if (!KeyExists(parent)) throw StoreError("settings store: parent key is gone");
    KeyId current = parent;
    const std::vector<std::string_view> elements = PathElements(path);
    for (size_t i = 0; i < elements.size(); ++i) {
      const std::string_view element = elements[i];
      if (element.size() > 255) {
        throw StoreError("settings store: key name too long", std::string(element), i + 1 == elements.size());
      }
      if (auto child = FindChild(current, element)) {
        current = *child;
        continue;
      }
      Statement& s = Prepare("INSERT INTO keys(parent, name, uname) VALUES (?1, ?2, ?3)");
      ResetGuard<Statement> g{s};
      s.Bind(1, current).Bind(2, element).Bind(3, ToUpperAscii(element));
      try {
        s.Step();
      } catch (const StoreError& e) {
        throw StoreError(e.what(), std::string(element), i + 1 == elements.size());
      }
      current = sqlite3_last_insert_rowid(db_);
    }
    return current;
  });
}

bool SettingsStore::KeyExists(KeyId key) {
  Statement& s = Prepare("SELECT 1 FROM keys WHERE id = ?1");
  ResetGuard<Statement> g{s};
  s.Bind(1, key);
  return s.Step();
}

std::string SettingsStore::KeyName(KeyId key) {
  Statement& s = Prepare("SELECT name FROM keys WHERE id = ?1");
  ResetGuard<Statement> g{s};
  s.Bind(1, key);
  return s.Step() ? s.Text(0) : std::string();
}

std::optional<std::string> SettingsStore::GetValue(KeyId key, std::string_view name) {
  Statement& s = Prepare("SELECT data FROM vals WHERE key = ?1 AND uname = ?2");
  ResetGuard<Statement> g{s};
  s.Bind(1, key).Bind(2, ToUpperAscii(name));
  if (s.Step()) return s.Text(0);
  return std::nullopt;
}

bool SettingsStore::SetValue(KeyId key, std::string_view name, std::string_view data) {
  return Write([&] {
    if (!KeyExists(key)) return false;
    Statement& s = Prepare(
        "INSERT INTO vals(key, name, uname, data) VALUES (?1, ?2, ?3, ?4)"
        " ON CONFLICT(key, uname) DO UPDATE SET data = excluded.data");
    ResetGuard<Statement> g{s};
    s.Bind(1, key).Bind(2, name).Bind(3, ToUpperAscii(name)).BindBlob(4, data);
    s.Step();
    return true;
  });
}

bool SettingsStore::DeleteValue(KeyId key, std::string_view name) {
  return Write([&] {
    Statement& s = Prepare("DELETE FROM vals WHERE key = ?1 AND uname = ?2");
    ResetGuard<Statement> g{s};
    s.Bind(1, key).Bind(2, ToUpperAscii(name));
    s.Step();
    return sqlite3_changes(db_) > 0;
  });
}

bool SettingsStore::DeleteTree(KeyId key) {
  if (key == HiveRoot(Hive::LocalMachine) || key == HiveRoot(Hive::ClassesRoot)) return false;
  return Write([&] {
    if (!KeyExists(key)) return false;
    Statement& tree = Prepare(
        "WITH RECURSIVE t(id) AS (SELECT ?1 UNION ALL SELECT k.id FROM keys k JOIN t ON k.parent = t.id)"
        " SELECT id FROM t");
    std::vector<KeyId> ids;
    {
      ResetGuard<Statement> g{tree};
      tree.Bind(1, key);
      while (tree.Step()) ids.push_back(tree.Int(0));
    }
    Statement& dv = Prepare("DELETE FROM vals WHERE key = ?1");
    Statement& dk = Prepare("DELETE FROM keys WHERE id = ?1");
    for (KeyId id : ids) {
      {
        ResetGuard<Statement> g{dv};
        dv.Bind(1, id);
        dv.Step();
      }
      ResetGuard<Statement> g{dk};
      dk.Bind(1, id);
      dk.Step();
    }
    return true;
  });
}

std::vector<std::pair<std::string, std::string>> SettingsStore::Values(KeyId key) {
  return Read([&] {
    std::vector<std::pair<std::string, std::string>> out;
    Statement& s = Prepare("SELECT name, data FROM vals WHERE key = ?1 ORDER BY id");
    ResetGuard<Statement> g{s};
    s.Bind(1, key);
    while (s.Step()) out.emplace_back(s.Text(0), s.Text(1));
    return out;
  });
}

std::vector<std::pair<KeyId, std::string>> SettingsStore::Subkeys(KeyId key) {
  return Read([&] {
    std::vector<std::pair<KeyId, std::string>> out;
    Statement& s = Prepare("SELECT id, name FROM keys WHERE parent = ?1 ORDER BY uname");
    ResetGuard<Statement> g{s};
    s.Bind(1, key);
    while (s.Step()) out.emplace_back(s.Int(0), s.Text(1));
    return out;
  });
}

}  // namespace zephra::common
