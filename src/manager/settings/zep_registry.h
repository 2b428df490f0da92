#pragma once
// The manager's copy of the suite-wide settings of USER_ZEP: loaded once at start-up, changed by
// the options and access-code dialogs, written back with Save. Loading also sets up a fresh data
// home: missing folder settings get defaults below it, the folders are created, and a new menu
// root folder gets the sample menu file.

#include <cstdint>
#include <string>

namespace zephra::manager {

class ZEPRegistry {
 public:
  // The one object of the manager's run, created on first use.
  static ZEPRegistry& Instance();

  ZEPRegistry() = default;

  // Reads USER_ZEP, filling in defaults. Never reports: a step that fails leaves its property
  // as it was and the next step runs.
  void Load();
  // Writes every property back to USER_ZEP. The first failure ends the writing and is reported
  // through the prompts; Save itself returns normally.
  void Save();

  // The menu file in RootDir (an existing one whatever its letter case, else "menu.cfg"); empty
  // when RootDir is empty or not an existing folder.
  std::string MenuFile() const;

  const std::string& RootDir() const { return rootDir_; }
  void SetRootDir(std::string v) { rootDir_ = std::move(v); }
  const std::string& DefDir() const { return defDir_; }
  void SetDefDir(std::string v) { defDir_ = std::move(v); }
  const std::string& BitmapDir() const { return bitmapDir_; }
  void SetBitmapDir(std::string v) { bitmapDir_ = std::move(v); }
  const std::string& HistoryDir() const { return historyDir_; }
  void SetHistoryDir(std::string v) { historyDir_ = std::move(v); }
  const std::string& HistoryTitle() const { return historyTitle_; }
  void SetHistoryTitle(std::string v) { historyTitle_ = std::move(v); }
  int16_t MaxParts() const { return maxParts_; }
  void SetMaxParts(int16_t v) { maxParts_ = v; }
  int16_t SampleSize() const { return sampleSize_; }
  void SetSampleSize(int16_t v) { sampleSize_ = v; }
  const std::string& Machine() const { return machine_; }
  void SetMachine(std::string v) { machine_ = std::move(v); }
  const std::string& User() const { return user_; }
  void SetUser(std::string v) { user_ = std::move(v); }
  const std::string& ExitKey() const { return exitKey_; }
  void SetExitKey(std::string v) { exitKey_ = std::move(v); }
  const std::string& PrtDevice() const { return prtDevice_; }
  void SetPrtDevice(std::string v) { prtDevice_ = std::move(v); }
  const std::string& PrtDriver() const { return prtDriver_; }
  void SetPrtDriver(std::string v) { prtDriver_ = std::move(v); }
  const std::string& PrtOrientation() const { return prtOrientation_; }
  void SetPrtOrientation(std::string v) { prtOrientation_ = std::move(v); }
  const std::string& PrtPaperSize() const { return prtPaperSize_; }
  void SetPrtPaperSize(std::string v) { prtPaperSize_ = std::move(v); }
  const std::string& PrtPaperBin() const { return prtPaperBin_; }
  void SetPrtPaperBin(std::string v) { prtPaperBin_ = std::move(v); }
  const std::string& PrtQuality() const { return prtQuality_; }
  void SetPrtQuality(std::string v) { prtQuality_ = std::move(v); }
  const std::string& PrtZoom() const { return prtZoom_; }
  void SetPrtZoom(std::string v) { prtZoom_ = std::move(v); }
  bool PartProgQuitAfterEx() const { return partProgQuitAfterEx_; }
  void SetPartProgQuitAfterEx(bool v) { partProgQuitAfterEx_ = v; }

 private:
  std::string rootDir_;
  std::string defDir_;
  std::string bitmapDir_;
  std::string historyDir_;
  std::string historyTitle_;
  int16_t maxParts_ = 0;
  int16_t sampleSize_ = 0;
  std::string machine_;
  std::string user_;
  std::string exitKey_;
  std::string prtDevice_;
  std::string prtDriver_;
  std::string prtOrientation_;
  std::string prtPaperSize_;
  std::string prtPaperBin_;
  std::string prtQuality_;
  std::string prtZoom_;
  bool partProgQuitAfterEx_ = false;
};

}  // namespace zephra::manager
