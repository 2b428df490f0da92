#pragma once
// The hierarchical settings store: keys with case-insensitive names that keep their case,
// holding named byte values, in one SQLite file shared by every program of the suite.
//
// Every public operation is one transaction. Writers start with BEGIN IMMEDIATE and a busy
// timeout, so concurrent processes wait for each other instead of failing on a lock.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zephra::common {

enum class Hive { LocalMachine = 1, ClassesRoot = 2 };

using KeyId = int64_t;

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // For a key that could not be created: the element of the path that failed, and whether it
  // was the last one.
  StoreError(const std::string& what, std::string element, bool last)
      : std::runtime_error(what), element_(std::move(element)), last_(last) {}
  const std::string& Element() const { return element_; }
  bool Last() const { return last_; }

 private:
  std::string element_;
  bool last_ = true;
};

class SettingsStore {
 public:
  // The store in the data home (settings.db); opened anew when ZEPHRA_HOME changes.
  static SettingsStore& Current();
  // Closes the current store (tests switching data homes, processes about to fork).
  static void CloseCurrent();

  explicit SettingsStore(const std::string& dbPath);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  const std::string& Path() const { return path_; }
  static KeyId HiveRoot(Hive hive) { return static_cast<KeyId>(hive); }

  // Key paths are backslash-separated names below parent; empty elements are ignored.
  std::optional<KeyId> FindKey(KeyId parent, std::string_view path);
  // Opens or creates every level; returns the deepest key. Names over 255 bytes are refused.
  KeyId CreateKey(KeyId parent, std::string_view path);
  bool KeyExists(KeyId key);
  std::string KeyName(KeyId key);

  std::optional<std::string> GetValue(KeyId key, std::string_view name);
  // False when the key no longer exists.
  bool SetValue(KeyId key, std::string_view name, std::string_view data);
  bool DeleteValue(KeyId key, std::string_view name);
  // Deletes the key with everything below it. False when it does not exist.
  bool DeleteTree(KeyId key);

  // Values in the order they were created; subkeys ordered by name without regard to case.
  std::vector<std::pair<std::string, std::string>> Values(KeyId key);
  std::vector<std::pair<KeyId, std::string>> Subkeys(KeyId key);

  // Runs fn inside one transaction (nested calls join the outer one).
  template <class F>
  auto Write(F&& fn) {
    Transaction t(*this, true);
    if constexpr (std::is_void_v<decltype(fn())>) {
      fn();
      t.Commit();
    } else {
      auto r = fn();
      t.Commit();
      return r;
    }
  }
  template <class F>
  auto Read(F&& fn) {
    Transaction t(*this, false);
    if constexpr (std::is_void_v<decltype(fn())>) {
      fn();
      t.Commit();
    } else {
      auto r = fn();
      t.Commit();
      return r;
    }
  }

 private:
  class Transaction {
   public:
    Transaction(SettingsStore& store, bool write);
    ~Transaction();
    void Commit();

   private:
    SettingsStore& store_;
    bool outer_ = false;
    bool done_ = false;
  };

  class Statement;
  Statement& Prepare(const char* sql);
  void Exec(const char* sql);
  [[noreturn]] void Fail(const char* what);
  std::optional<KeyId> FindChild(KeyId parent, std::string_view name);

  std::string path_;
  sqlite3* db_ = nullptr;
  int depth_ = 0;
  std::vector<std::pair<const char*, std::unique_ptr<Statement>>> statements_;
};

}  // namespace zephra::common
