// zephra reg: query, set, delete, export and import settings.

#include <iostream>

#include "cli.h"
#include "common/default_settings.h"
#include "common/paths.h"
#include "common/program.h"
#include "common/reg_entry.h"
#include "common/settings_export.h"
#include "common/string_res.h"

namespace zephra::tools {
namespace {

using common::Hive;
using common::KeyId;
using common::SettingsStore;

constexpr int kNoSuchKey = 2;

std::string ValueName(const std::string& name) { return name == "@" ? std::string() : name; }

std::optional<KeyId> FindKey(Hive hive, const std::string& path) {
  const KeyId base = common::SettingsBase(hive, false);
  if (base < 0) return std::nullopt;
  return SettingsStore::Current().FindKey(base, path);
}

int NoSuchKey(const std::string& path) {
  std::cerr << "error " << common::regerr::OpenFailed << ": "
            << common::FormatMessage(common::MessageBase() + 1, {common::Variant(path)}) << " (reg)\n";
  return kNoSuchKey;
}

int RunReg(Arguments& args) {
  ApplyLanguageOption(args);
  const Hive hive = TakeFlag(args, "--classes") ? Hive::ClassesRoot : Hive::LocalMachine;
  DropEndOfOptions(args);
  if (args.empty()) throw UsageError("reg needs a subcommand");
  const std::string sub = args[0];
  args.erase(args.begin());
  SettingsStore& store = SettingsStore::Current();

  if (sub == "get") {
    if (args.size() != 2) throw UsageError("reg get KEY NAME");
    auto key = FindKey(hive, args[0]);
    if (!key && args[0].empty() && hive == Hive::LocalMachine) {
      // A store never written holds an empty settings root.
      std::cout << '\n';
      return 0;
    }
    if (!key) return NoSuchKey(args[0]);
    // Read the way the programs read: over 255 bytes reads as empty.
    std::cout << common::StoredText(store.GetValue(*key, ValueName(args[1]))) << '\n';
    return 0;
  }
  if (sub == "set") {
    if (args.size() != 3) throw UsageError("reg set KEY NAME TEXT");
    const std::string name = ValueName(args[1]);
    const std::string& text = args[2];
    if (text.size() > common::kRegReadLimit || name.size() > common::kRegReadLimit) {
      throw common::AutomationError(common::regerr::SetFailed, "RegEntry.SetValue",
                                    common::FormatMessage(common::MessageBase() + 3, {common::Variant(args[1])}));
    }
    store.Write([&] {
      const KeyId key = store.CreateKey(common::SettingsBase(hive, true), args[0]);
      if (text.empty()) {
        store.DeleteValue(key, name);
      } else {
        store.SetValue(key, name, text);
      }
    });
    return 0;
  }
  if (sub == "delete") {
    if (args.empty() || args.size() > 2) throw UsageError("reg delete KEY [NAME]");
    auto key = FindKey(hive, args[0]);
    if (!key) return NoSuchKey(args[0]);
    if (args.size() == 2) {
      store.DeleteValue(*key, ValueName(args[1]));
    } else if (*key == common::SettingsBase(hive, false)) {
      // The base itself stays; everything below it goes.
      for (auto& [child, name] : store.Subkeys(*key)) store.DeleteTree(child);
      for (auto& [name, data] : store.Values(*key)) store.DeleteValue(*key, name);
    } else {
      store.DeleteTree(*key);
    }
    return 0;
  }
  if (sub == "export") {
    if (args.size() > 1) throw UsageError("reg export [KEY]");
    const std::string path = args.empty() ? std::string() : args[0];
    auto text = common::ExportSettings(hive, path);
    if (!text) return NoSuchKey(path);
    std::cout << *text;
    return 0;
  }
  if (sub == "import") {
    if (args.size() != 1) throw UsageError("reg import FILE");
    common::ImportSettings(hive, common::ReadFileBytes(args[0], "reg import"));
    return 0;
  }
  if (sub == "ensure-defaults") {
    if (!args.empty()) throw UsageError("reg ensure-defaults takes no arguments");
    common::EnsureDefaultSettings();
    return 0;
  }
  throw UsageError("unknown reg subcommand '" + sub + "'");
}

const CommandRegistrar registrar(
    "reg", "query, set, delete, export and import settings",
    "usage: zephra reg [--classes] SUBCOMMAND ...\n\n"
    "KEY is a backslash path below the settings root (with --classes, below the class hive);\n"
    "NAME @ is a key's unnamed default value. The store is settings.db in the data home\n"
    "($ZEPHRA_HOME).\n\n"
    "  get KEY NAME          print the value (an empty line when it is missing)\n"
    "  set KEY NAME TEXT     write the value, creating the key; an empty TEXT deletes it\n"
    "  delete KEY [NAME]     delete the value, or the key with everything below it\n"
    "  export [KEY]          print KEY and everything below it as [PATH] and NAME=DATA lines\n"
    "  import FILE           merge such a text into the store\n"
    "  ensure-defaults       write the missing default settings\n\n"
    "A KEY that does not exist exits 2. Options are read up to a lone \"--\"; what follows it is\n"
    "taken as it stands (zephra reg set KEY NAME -- --text).\n",
    RunReg);

}  // namespace
}  // namespace zephra::tools
