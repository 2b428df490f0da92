#pragma once
// RegEntry: the one class through which the programs read and write their settings below the
// settings root "SOFTWARE\Brennick\Quarvex". It holds at most one open key at a time.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings_store.h"

namespace zephra::common {

inline constexpr const char* kSettingsRoot = "SOFTWARE\\Brennick\\Quarvex";
inline constexpr const char* kHostProgId = "QVXHOST.Application";
// The longest value, name or subkey name a read accepts.
inline constexpr size_t kRegReadLimit = 255;

namespace regerr {
inline constexpr int32_t CreateFailed = 5000;
inline constexpr int32_t OpenFailed = 5001;
inline constexpr int32_t SetFailed = 5002;
}  // namespace regerr

class RegEntry {
 public:
  // messageBase: the program's range (30000, 31000, 32000); by default the current program's.
  RegEntry();
  explicit RegEntry(int32_t messageBase);
  ~RegEntry() = default;

  void OpenKey(const std::string& path);
  void CreateKey(const std::string& path);
  bool TestKey(const std::string& path) const;
  bool IsOpen() const { return current_.has_value(); }

  std::string GetString(const std::string& name) const;
  bool GetBoolean(const std::string& name) const;
  std::string GetStringInternational(const std::string& name, int32_t language) const;
  void SetString(const std::string& name, const std::string& text);
  void SetBoolean(const std::string& name, bool value);
  void DeleteValue(const std::string& name);
  void DeleteKey(const std::string& subkey);
  // Appends the subkey names of the current key; returns the collection's count.
  int16_t Query(std::vector<std::string>& names) const;
  // One row (name, text) per value of the current key; returns the number of rows.
  int16_t QueryValues(std::vector<std::array<std::string, 2>>& table) const;
  // Copies all values and subkeys of the current key into the target key (created as needed).
  void Copy(const std::string& targetPath);

  std::string GetClassID(const std::string& progId) const;
  void RemoveProgID(const std::string& progId);
  std::string LocateQVXAppPath();

 private:
  SettingsStore& Store() const { return SettingsStore::Current(); }
  KeyId OpenInternal(Hive hive, const std::string& path);
  [[noreturn]] void Raise(int32_t number, const char* source, int32_t messageOffset,
                          const std::string& argument) const;
  [[noreturn]] void RaiseCreateFailed(const StoreError& e, const char* source, const std::string& path) const;

  int32_t messageBase_;
  std::optional<KeyId> current_;
};

// Fields of a "|"-joined list, counted from 0; a missing or empty field gives the default.
std::string GetField(const std::string& text, int index, const std::string& defaultValue);
int16_t GetIntegerField(const std::string& text, int index, int16_t defaultValue);
int32_t GetLongField(const std::string& text, int index, int32_t defaultValue);
bool GetBooleanField(const std::string& text, int index, bool defaultValue);

// A stored value as the programs read it: over the read limit it reads as empty, one trailing
// zero is dropped, and bytes that are not UTF-8 are read as Windows-1252.
std::string StoredText(const std::optional<std::string>& data);

// The boolean reading of a stored text: false for empty, "0", "NO" and "FALSE" in any case.
bool ReadBooleanText(const std::string& text);

}  // namespace zephra::common
