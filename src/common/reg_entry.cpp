#include "reg_entry.h"

#include <functional>

#include "automation_error.h"
#include "paths.h"
#include "program.h"
#include "string_res.h"
#include "text.h"
#include "variant.h"

namespace zephra::common {

namespace {

std::string FullPath(const std::string& path) {
  return path.empty() ? std::string(kSettingsRoot) : std::string(kSettingsRoot) + "\\" + path;
}

}  // namespace

std::string StoredText(const std::optional<std::string>& data) {
  if (!data || data->size() > kRegReadLimit) return "";
  std::string_view bytes(*data);
  if (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
  return DecodeText(bytes);
}

RegEntry::RegEntry() : messageBase_(MessageBase()) {}

RegEntry::RegEntry(int32_t messageBase) : messageBase_(messageBase) {}

void RegEntry::RaiseCreateFailed(const StoreError& e, const char* source, const std::string& path) const {
  // The last level of a path is created alone (its own path named); a level above it fails
  // as the first level of a longer path.
  const std::string element = e.Element().empty() ? path : e.Element();
  Raise(regerr::CreateFailed, source, e.Last() ? 1 : 2, element);
}

void RegEntry::Raise(int32_t number, const char* source, int32_t messageOffset,
                     const std::string& argument) const {
  throw AutomationError(number, source, FormatMessage(messageBase_ + messageOffset, {Variant(argument)}));
}

KeyId RegEntry::OpenInternal(Hive hive, const std::string& path) {
  std::optional<KeyId> key;
  try {
    key = Store().FindKey(SettingsStore::HiveRoot(hive), path);
  } catch (const StoreError&) {
    key.reset();
  }
  if (!key) Raise(regerr::OpenFailed, "RegEntry.OpenInternal", 1, path);
  return *key;
}

void RegEntry::OpenKey(const std::string& path) {
  current_.reset();
  current_ = OpenInternal(Hive::LocalMachine, FullPath(path));
}

void RegEntry::CreateKey(const std::string& path) {
  current_.reset();
  const std::string full = FullPath(path);
  try {
    current_ = Store().CreateKey(SettingsStore::HiveRoot(Hive::LocalMachine), full);
  } catch (const StoreError& e) {
    RaiseCreateFailed(e, "RegEntry.CreateInternal", full);
  }
}

bool RegEntry::TestKey(const std::string& path) const {
  try {
    return Store().FindKey(SettingsStore::HiveRoot(Hive::LocalMachine), FullPath(path)).has_value();
  } catch (...) {
    return false;
  }
}

std::string RegEntry::GetString(const std::string& name) const {
  if (!current_ || name.size() > kRegReadLimit) return "";
  try {
    return StoredText(Store().GetValue(*current_, name));
  } catch (...) {
    return "";
  }
}

bool ReadBooleanText(const std::string& text) {
  if (text.empty() || text == "0") return false;
  return !(EqualsNoCase(text, "NO") || EqualsNoCase(text, "FALSE"));
}

bool RegEntry::GetBoolean(const std::string& name) const {
  if (!current_) return false;
  return ReadBooleanText(GetString(name));
}

std::string RegEntry::GetStringInternational(const std::string& name, int32_t language) const {
  std::string text = GetString(name + LanguageCode(language));
  if (text.empty()) text = GetString(name);
  return text;
}

void RegEntry::SetString(const std::string& name, const std::string& text) {
  if (!current_) return;
  if (text.empty()) {
    DeleteValue(name);
    return;
  }
  // A value longer than a read accepts would be stored but never read back.
  if (text.size() > kRegReadLimit || name.size() > kRegReadLimit) {
    Raise(regerr::SetFailed, "RegEntry.SetValue", 3, name);
  }
  bool written = false;
  try {
    written = Store().SetValue(*current_, name, text);
  } catch (const StoreError&) {
    written = false;
  }
  if (!written) Raise(regerr::SetFailed, "RegEntry.SetValue", 3, name);
}

void RegEntry::SetBoolean(const std::string& name, bool value) { SetString(name, value ? "true" : "false"); }

void RegEntry::DeleteValue(const std::string& name) {
  if (!current_) return;
  try {
    Store().DeleteValue(*current_, name);
  } catch (...) {
  }
}

void RegEntry::DeleteKey(const std::string& subkey) {
  if (!current_) return;
  std::optional<KeyId> key;
  try {
    key = Store().FindKey(*current_, subkey);
  } catch (const StoreError&) {
  }
  if (!key || *key == *current_) Raise(regerr::OpenFailed, "RegEntry.DeleteInternal", 1, subkey);
  try {
    Store().DeleteTree(*key);
  } catch (const StoreError&) {
    Raise(regerr::OpenFailed, "RegEntry.DeleteInternal", 1, subkey);
  }
}

int16_t RegEntry::Query(std::vector<std::string>& names) const {
  if (!current_) return 0;
  try {
    for (auto& [id, name] : Store().Subkeys(*current_)) names.push_back(name);
  } catch (...) {
    return 0;
  }
  return static_cast<int16_t>(names.size());
}

int16_t RegEntry::QueryValues(std::vector<std::array<std::string, 2>>& table) const {
  table.clear();
  if (!current_) return 0;
  try {
    for (auto& [name, data] : Store().Values(*current_)) {
      table.push_back({name, StoredText(data)});
    }
  } catch (...) {
    table.clear();
    return 0;
  }
  return static_cast<int16_t>(table.size());
}

void RegEntry::Copy(const std::string& targetPath) {
  if (!current_) return;
  SettingsStore& store = Store();
  // The source tree is read completely before anything is written, so copying a key into one
  // of its own subkeys copies what was there and ends.
  struct Node {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<Node> children;
  };
  std::function<Node(KeyId, const std::string&)> snapshot = [&](KeyId id, const std::string& name) {
    Node n{name, {}, {}};
    for (auto& [vname, data] : store.Values(id)) {
      // Enumeration stops at the first value whose name or data does not fit the buffers.
      if (vname.size() > kRegReadLimit || data.size() > kRegReadLimit) break;
      n.values.emplace_back(vname, data);
    }
    for (auto& [cid, cname] : store.Subkeys(id)) n.children.push_back(snapshot(cid, cname));
    return n;
  };
  const std::string full = FullPath(targetPath);
  try {
    // One transaction: the snapshot and the copy see the same source.
    store.Write([&] {
    if (!store.KeyExists(*current_)) Raise(regerr::OpenFailed, "RegEntry.CopyInternal", 1, targetPath);
    const Node root = snapshot(*current_, "");
    KeyId target;
    try {
      target = store.CreateKey(SettingsStore::HiveRoot(Hive::LocalMachine), full);
    } catch (const StoreError& e) {
      RaiseCreateFailed(e, "RegEntry.CreateInternal", full);
    }
    std::function<void(const Node&, KeyId)> write = [&](const Node& n, KeyId into) {
      for (auto& [vname, data] : n.values) store.SetValue(into, vname, data);
      for (const Node& child : n.children) {
        KeyId c;
        try {
          c = store.CreateKey(into, child.name);
        } catch (const StoreError&) {
          Raise(regerr::CreateFailed, "RegEntry.CopyInternal", 2, child.name);
        }
        write(child, c);
      }
    };
    write(root, target);
    });
  } catch (const StoreError&) {
    Raise(regerr::SetFailed, "RegEntry.CopyInternal", 3, targetPath);
  }
}

std::string RegEntry::GetClassID(const std::string& progId) const {
  try {
    auto key = Store().FindKey(SettingsStore::HiveRoot(Hive::ClassesRoot), progId + "\\Clsid");
    if (!key) return "";
    return StoredText(Store().GetValue(*key, ""));
  } catch (...) {
    return "";
  }
}

void RegEntry::RemoveProgID(const std::string& progId) {
  try {
    SettingsStore& store = Store();
    const KeyId classes = SettingsStore::HiveRoot(Hive::ClassesRoot);
    const std::string clsid = GetClassID(progId);
    if (clsid.empty()) return;
    if (auto k = store.FindKey(classes, progId)) store.DeleteTree(*k);
    auto typeLibKey = store.FindKey(classes, "CLSID\\" + clsid + "\\TypeLib");
    if (!typeLibKey) return;
    const std::string typeLib = StoredText(store.GetValue(*typeLibKey, ""));
    if (auto k = store.FindKey(classes, "CLSID\\" + clsid)) store.DeleteTree(*k);
    if (!typeLib.empty()) {
      if (auto k = store.FindKey(classes, "TypeLib\\" + typeLib)) store.DeleteTree(*k);
    }
  } catch (...) {
  }
}

std::string RegEntry::LocateQVXAppPath() {
  current_.reset();
  auto read = [&](KeyId key) {
    try {
      return StoredText(Store().GetValue(key, ""));
    } catch (const StoreError&) {
      return std::string();
    }
  };
  const KeyId clsidKey = OpenInternal(Hive::ClassesRoot, std::string(kHostProgId) + "\\CLSID");
  const std::string clsid = read(clsidKey);
  if (clsid.empty()) return "";
  const KeyId serverKey = OpenInternal(Hive::ClassesRoot, "CLSID\\" + clsid + "\\LocalServer32");
  const std::string commandLine = read(serverKey);
  if (commandLine.empty()) return "";
  return ParentDirectory(commandLine);
}

std::string GetField(const std::string& text, int index, const std::string& defaultValue) {
  if (index < 0) return defaultValue;
  size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const size_t bar = text.find('|', start);
    if (bar == std::string::npos) return defaultValue;
    start = bar + 1;
  }
  const size_t end = text.find('|', start);
  std::string field = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  return field.empty() ? defaultValue : field;
}

int16_t GetIntegerField(const std::string& text, int index, int16_t defaultValue) {
  try {
    return Variant(GetField(text, index, std::to_string(defaultValue))).ToInt();
  } catch (const AutomationError&) {
    return defaultValue;
  }
}

int32_t GetLongField(const std::string& text, int index, int32_t defaultValue) {
  try {
    return Variant(GetField(text, index, std::to_string(defaultValue))).ToLong();
  } catch (const AutomationError&) {
    return defaultValue;
  }
}

bool GetBooleanField(const std::string& text, int index, bool defaultValue) {
  return EqualsNoCase(GetField(text, index, defaultValue ? "True" : "False"), "TRUE");
}

}  // namespace zephra::common
