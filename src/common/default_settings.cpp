#include "default_settings.h"

#include "automation_error.h"
#include "paths.h"
#include "program.h"
#include "string_res.h"
#include "reg_entry.h"

namespace zephra::common {

void EnsureDefaultSettings() {
  RegEntry reg;
  if (!reg.TestKey(kUserKey)) reg.CreateKey(kUserKey);
  reg.OpenKey(kUserKey);
  const std::string home = DataHome();
  const std::pair<const char*, std::string> defaults[] = {
      {"CheckFile", JoinPath(ProgramDirectory(), "zephra-shell")},
      {"DefaultBitmapDirectory", JoinPath(home, "Bitmaps")},
      {"DefaultLanguage", "1033"},
      {"HistoryDirectory", JoinPath(home, "History")},
      {"VRDMachine", "OFFLINE"},
      {"VRDRoot", JoinPath(home, "Menu")},
  };
  for (const auto& [name, value] : defaults) {
    if (reg.GetString(name).empty()) reg.SetString(name, value);
  }
  struct MonitorDefault {
    const char* key;
    const char* caption;
    const char* progId;
  };
  const MonitorDefault monitors[] = {
      {"USER_ZEP\\ShowMonitor0", "@30145", "ZEPMonitor.Monitor"},
      {"USER_ZEP\\ShowMonitor1", "@30155", ""},
      {"USER_ZEP\\ShowMonitor2", "@30149", "ZEPReport.ReportMonitor"},
  };
  for (const MonitorDefault& m : monitors) {
    if (!reg.TestKey(m.key)) reg.CreateKey(m.key);
    reg.OpenKey(m.key);
    if (reg.GetString("Caption").empty()) reg.SetString("Caption", m.caption);
    if (*m.progId && reg.GetString("ProgID").empty()) reg.SetString("ProgID", m.progId);
  }
  if (!reg.TestKey("USER_ZEP\\ShowMonitor3")) reg.CreateKey("USER_ZEP\\ShowMonitor3");
}

void AppendHistoryList(const std::string& directory, const std::string& title) {
  // One transaction, so two programs appending at once both get their own number.
  try {
    SettingsStore::Current().Write([&] {
    RegEntry reg;
    if (!reg.TestKey(kHistoryListKey)) {
      reg.CreateKey(kHistoryListKey);
      reg.SetString("NumberOfHistorys", "0");
    }
    reg.OpenKey(kHistoryListKey);
    const int32_t n = GetLongField(reg.GetString("NumberOfHistorys"), 0, 0) + 1;
    reg.SetString("Directory" + std::to_string(n), directory);
    reg.SetString("Title" + std::to_string(n), title);
    reg.SetString("NumberOfHistorys", std::to_string(n));
    });
  } catch (const StoreError& e) {
    throw AutomationError(regerr::SetFailed, "RegEntry.SetValue",
                          FormatMessage(MessageBase() + 3, {Variant(std::string(kHistoryListKey))}));
  }
}

}  // namespace zephra::common
