#include "zep_registry.h"

#include <exception>
#include <functional>
#include <utility>

#include "common/automation_error.h"
#include "common/default_settings.h"
#include "common/paths.h"
#include "common/prompts.h"
#include "common/reg_entry.h"
#include "common/variant.h"
#include "shell/menu/menu.h"

namespace zephra::manager {

using common::RegEntry;

namespace {

// Loading must never stop a start-up: whatever fails leaves its property alone.
void Ignoring(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

// Reads a folder setting; an empty one gets the default folder below the data home, written
// back and created. Returns true when the default was taken.
bool LoadFolder(RegEntry& reg, const char* name, const char* folder, std::string& property) {
  property = reg.GetString(name);
  if (!property.empty()) return false;
  property = common::JoinPath(common::DataHome(), folder);
  Ignoring([&] { reg.SetString(name, property); });
  Ignoring([&] {
    if (!common::DirectoryExists(property)) common::MakeDirectories(property);
  });
  return true;
}

}  // namespace

ZEPRegistry& ZEPRegistry::Instance() {
  static ZEPRegistry registry;
  return registry;
}

void ZEPRegistry::Load() {
  RegEntry reg;
  Ignoring([&] {
    if (!reg.TestKey(common::kUserKey)) reg.CreateKey(common::kUserKey);
    reg.OpenKey(common::kUserKey);
  });
  // Only a menu root folder the suite has just chosen gets the sample menu; a folder the
  // administrator named keeps whatever it holds.
  if (LoadFolder(reg, "VRDRoot", "Menu", rootDir_)) {
    Ignoring([&] {
      if (!common::FindFileNoCase(rootDir_, shell::kMenuFileName)) shell::WriteDefaultMenuFile(rootDir_);
    });
  }
  LoadFolder(reg, "DefaultSlideDirectory", "SlideShow", defDir_);
  LoadFolder(reg, "DefaultBitmapDirectory", "Bitmaps", bitmapDir_);
  LoadFolder(reg, "HistoryDirectory", "History", historyDir_);
  historyTitle_ = reg.GetString("HistoryTitle");
  maxParts_ = reg.IsOpen() ? common::GetIntegerField(reg.GetString("HistoryMaxParts"), 0, 0) : 20;
  machine_ = reg.GetString("VRDMachine");
  if (machine_.empty()) {
    machine_ = "OFFLINE";
    Ignoring([&] { reg.SetString("VRDMachine", machine_); });
  }
  partProgQuitAfterEx_ = reg.GetBoolean("PartProgQuitAfterEx");
  Ignoring([&] { sampleSize_ = common::Variant(reg.GetString("SampleSize")).ToInt(); });
  user_ = reg.GetString("VRDUser");
  exitKey_ = reg.GetString("ExitKey");
  prtDevice_ = reg.GetString("PrinterDevice");
  prtDriver_ = reg.GetString("PrinterDriver");
  prtOrientation_ = reg.GetString("PrinterOrientation");
  prtPaperSize_ = reg.GetString("PrinterPaperSize");
  prtPaperBin_ = reg.GetString("PrinterPaperBin");
  prtQuality_ = reg.GetString("PrinterQuality");
  prtZoom_ = reg.GetString("PrinterZoom");
}

void ZEPRegistry::Save() {
  try {
    RegEntry reg;
    reg.CreateKey(common::kUserKey);
    const std::pair<const char*, const std::string&> values[] = {
        {"VRDRoot", rootDir_},
        {"DefaultSlideDirectory", defDir_},
        {"DefaultBitmapDirectory", bitmapDir_},
        {"HistoryDirectory", historyDir_},
        {"HistoryTitle", historyTitle_},
    };
    for (const auto& [name, text] : values) reg.SetString(name, text);
    reg.SetString("HistoryMaxParts", std::to_string(maxParts_));
    reg.SetString("SampleSize", std::to_string(sampleSize_));
    const std::pair<const char*, const std::string&> rest[] = {
        {"VRDMachine", machine_},
        {"VRDUser", user_},
        {"ExitKey", exitKey_},
        {"PrinterDevice", prtDevice_},
        {"PrinterDriver", prtDriver_},
        {"PrinterOrientation", prtOrientation_},
        {"PrinterPaperSize", prtPaperSize_},
        {"PrinterPaperBin", prtPaperBin_},
        {"PrinterQuality", prtQuality_},
        {"PrinterZoom", prtZoom_},
    };
    for (const auto& [name, text] : rest) reg.SetString(name, text);
    reg.SetBoolean("PartProgQuitAfterEx", partProgQuitAfterEx_);
  } catch (const common::AutomationError& e) {
    common::CurrentPrompts().StandardMessage(std::to_string(e.Number()) + ": " + e.Description(),
                                             common::mb::OK | common::mb::Exclamation, "Error at " + e.Source());
  }
}

std::string ZEPRegistry::MenuFile() const {
  if (rootDir_.empty() || !common::DirectoryExists(rootDir_)) return "";
  return shell::MenuFilePath(rootDir_);
}

}  // namespace zephra::manager
