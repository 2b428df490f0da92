#pragma once
// The slide-show document: an ordered list of slides, each with a picture and icons whose
// values show the results of one part program. It is read from and written to the text form
// (.zep, block format) and the binary form (.zpx, starting with "ZEPFILE"); loading recognises
// the form by its first bytes.

#include <cstdint>
#include <memory>
#include <string>

#include "common/dispatch.h"
#include "message_profile.h"
#include "slide.h"

namespace zephra::document {

class BinaryStream;
class DimensionOffer;
class FileList;

class SlideShow {
 public:
  // The header text and format version every binary file is written with.
  static constexpr const char* kBinaryHeader = "### | 1 | 22-feb-02";
  static constexpr int16_t kBinaryVersion = 1;
  // Help topic used when neither the active slide nor the show names one.
  static constexpr int16_t kDefaultHelpTopic = 3;

  explicit SlideShow(const MessageProfile& profile = MessageProfile::Current());

  const MessageProfile& Profile() const { return *profile_; }

  const std::string& Name() const { return name_; }
  void SetName(std::string v) { name_ = std::move(v); }
  const std::string& Description() const { return description_; }
  void SetDescription(std::string v) { description_ = std::move(v); }
  const std::string& Customer() const { return customer_; }
  void SetCustomer(std::string v) { customer_ = std::move(v); }
  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(std::string v) { helpFile_ = std::move(v); }
  int16_t HelpTopic() const { return helpTopic_; }
  void SetHelpTopic(int16_t v) { helpTopic_ = v; }
  const std::string& PartProgram() const { return partProgram_; }
  void SetPartProgram(std::string v) { partProgram_ = std::move(v); }
  SlideCollection& Slides() { return slides_; }
  const SlideCollection& Slides() const { return slides_; }
  bool Binary() const { return binary_; }
  int16_t CurrentPosition() const { return position_; }
  bool IsInitialized() const { return initialized_; }
  // Kept from the last binary load: the header text (empty for version 0) and its version.
  const std::string& BinaryHeader() const { return binaryHeader_; }
  int16_t BinaryVersion() const { return binaryVersion_; }

  bool HelpAvailable() const { return !helpFile_.empty(); }
  // The slide at CurrentPosition; error 9 when there is none.
  const std::shared_ptr<Slide>& ActiveSlide() const { return slides_.Item(position_); }
  int16_t ActiveHelpTopic() const;
  bool IsFirstSlide() const { return position_ == 1; }
  bool IsLastSlide() const { return position_ == slides_.Count(); }
  // Some slide other than the active one is out of tolerance.
  bool IsOutOfTolerance() const { return slides_.IsOutOfTolerance(position_); }
  int32_t WorstTolerance() const { return slides_.WorstTolerance(); }

  void MoveNext();
  void MovePrevious();
  // Goes to the next slide out of tolerance after the current one, wrapping round to the
  // first; the current slide itself is never chosen and the position stays when none is.
  void MoveNextOutOfTol();

  // Adds the slides of the file to this show and takes its fields (call it on a new show).
  // A picture path that is not a full path is taken relative to the file's folder.
  void LoadFromFile(const std::string& path);
  // The same from bytes in memory; relative picture paths stay as they are.
  void LoadFromMemory(std::string bytes);
  // Writes the text form; Binary becomes false.
  void SaveToFile(const std::string& path);
  // Writes the binary form; Binary becomes true.
  void SaveToBinary(const std::string& path);
  // The text form's bytes, exactly as SaveToFile writes them.
  std::string ToText();
  // The binary form's bytes, exactly as SaveToBinary writes them.
  std::string ToBinaryBytes();

  void UpdateDigits(int16_t lDigits);
  // Offers one executed host dimension to every value of every icon of every slide, in order.
  void UpdateReport(std::shared_ptr<common::Dispatch> oDCmd);
  void UpdateReport(DimensionOffer& dimension);
  void CalculateAverage();
  void InitializeSampleSet(int16_t nSampleSize);
  void CollectSampleSet(SlideShow& oAvg, const std::string& sLogFilename);
  // Some slide has an icon whose Name equals the name exactly.
  bool IsDCmdUsed(const std::string& sDCmdName) const;

  // The editor's archive: adds the help file (when set) and then every slide's picture to the
  // list. A referenced file that does not exist fails with error 53 before the list is used.
  void BuildFileList(FileList& oFileList) const;
  // After an import: the help file and every picture take the name the list restored them
  // under. A reference the list does not hold is kept, so a show never loses a picture to an
  // archive that left it out.
  void UpdateFileList(const FileList& oFileList);

 private:
  void Load(BinaryStream& stream, bool isBinary);
  void LoadText(BlockParser& parser);
  void LoadBinary(BinaryStream& stream);
  void WriteBinary(BinaryStream& stream);
  void ResolvePictures(const std::string& showPath);

  const MessageProfile* profile_;
  std::string name_;
  std::string description_;
  std::string customer_;
  std::string helpFile_;
  int16_t helpTopic_ = 0;
  std::string partProgram_;
  SlideCollection slides_;
  bool binary_ = false;
  int16_t position_ = 0;
  bool initialized_ = false;
  std::string binaryHeader_;
  int16_t binaryVersion_ = 0;
};

}  // namespace zephra::document
