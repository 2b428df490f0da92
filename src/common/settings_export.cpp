#include "settings_export.h"

#include <algorithm>
#include <functional>

#include "automation_error.h"
#include "reg_entry.h"
#include "text.h"

namespace zephra::common {

KeyId SettingsBase(Hive hive, bool create) {
  SettingsStore& store = SettingsStore::Current();
  const KeyId hiveRoot = SettingsStore::HiveRoot(hive);
  if (hive == Hive::ClassesRoot) return hiveRoot;
  if (create) return store.CreateKey(hiveRoot, kSettingsRoot);
  auto root = store.FindKey(hiveRoot, kSettingsRoot);
  return root ? *root : -1;
}

std::string EscapeSettingsData(std::string_view data) {
  std::string out;
  for (char c : data) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string EscapeSettingsName(std::string_view name) {
  std::string out;
  // A name that would read back as a key line or as the default value is escaped in front.
  if (name == "@" || (!name.empty() && name.front() == '[')) out.push_back('\\');
  for (char c : name) {
    if (c == '=') {
      out += "\\=";
    } else {
      out += EscapeSettingsData(std::string_view(&c, 1));
    }
  }
  return out;
}

std::optional<std::string> ExportSettings(Hive hive, std::string_view keyPath) {
  SettingsStore& store = SettingsStore::Current();
  return store.Read([&]() -> std::optional<std::string> {
    const KeyId base = SettingsBase(hive, false);
    std::string out;
    if (base < 0) {
      // A store that has never been written holds an empty settings root.
      if (!keyPath.empty()) return std::nullopt;
      return std::string("[]\n\n");
    }
    auto start = store.FindKey(base, keyPath);
    if (!start) return std::nullopt;
    std::string prefix;
    for (const std::string& part : Split(keyPath, '\\')) {
      if (part.empty()) continue;
      prefix += prefix.empty() ? part : "\\" + part;
    }
    std::function<void(KeyId, const std::string&)> visit = [&](KeyId key, const std::string& path) {
      out += "[" + path + "]\n";
      auto values = store.Values(key);
      std::stable_sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
        return ToUpperAscii(a.first) < ToUpperAscii(b.first);
      });
      for (const auto& [name, data] : values) {
        out += (name.empty() ? std::string("@") : EscapeSettingsName(name)) + "=" + EscapeSettingsData(data) + "\n";
      }
      out += "\n";
      for (const auto& [child, name] : store.Subkeys(key)) {
        visit(child, path.empty() ? name : path + "\\" + name);
      }
    };
    // Key names keep the case they were created with, so the first line names the stored key.
    std::string path;
    {
      KeyId k = base;
      for (const std::string& part : Split(prefix, '\\')) {
        if (part.empty()) continue;
        k = *store.FindKey(k, part);
        path += (path.empty() ? "" : "\\") + store.KeyName(k);
      }
    }
    visit(*start, path);
    return out;
  });
}

namespace {

std::string Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char n = text[++i];
      out.push_back(n == 'r' ? '\r' : n == 'n' ? '\n' : n);
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

void ImportSettings(Hive hive, std::string_view text) {
  SettingsStore& store = SettingsStore::Current();
  store.Write([&] {
    const KeyId base = SettingsBase(hive, true);
    std::optional<KeyId> current;
    size_t pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
      size_t end = text.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(pos, end - pos);
      pos = end;
      if (pos < text.size() && text[pos] == '\r') ++pos;
      if (pos < text.size() && text[pos] == '\n') ++pos;
      ++lineNo;
      if (line.empty()) continue;
      auto fail = [&](const std::string& why) {
        throw AutomationError(5000, "reg import", "line " + std::to_string(lineNo) + ": " + why);
      };
      if (line.front() == '[') {
        if (line.back() != ']') fail("a key line ends in ]");
        try {
          current = store.CreateKey(base, line.substr(1, line.size() - 2));
        } catch (const StoreError& e) {
          throw AutomationError(5000, "reg import", "line " + std::to_string(lineNo) + ": the key name " + e.Element() +
                                                        " is longer than 255 bytes");
        }
        continue;
      }
      if (!current) fail("a value before any [KEY] line");
      std::string name;
      size_t i = 0;
      bool found = false;
      for (; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
          const char n = line[++i];
          name.push_back(n == 'r' ? '\r' : n == 'n' ? '\n' : n);
        } else if (line[i] == '=') {
          found = true;
          break;
        } else {
          name.push_back(line[i]);
        }
      }
      if (!found) fail("expected NAME=DATA");
      // Only an unescaped "@" is the default value.
      if (line.substr(0, 2) == "@=") name.clear();
      const std::string data = Unescape(line.substr(i + 1));
      // What a program could never read back is refused rather than stored.
      if (name.size() > kRegReadLimit || data.size() > kRegReadLimit) {
        throw AutomationError(5002, "reg import", "line " + std::to_string(lineNo) + ": the value " + name +
                                                      " is longer than 255 bytes");
      }
      store.SetValue(*current, name, data);
    }
  });
}

}  // namespace zephra::common
