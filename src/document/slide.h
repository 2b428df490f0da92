#pragma once
// A slide: a background picture placed in percent of the slide area, a background colour and
// the icons drawn on it. SlideCollection is the show's ordered list of slides.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "block_parser.h"
#include "common/dispatch.h"
#include "document_io.h"
#include "icon.h"
#include "message_profile.h"

namespace zephra::document {

class BinaryStream;
class DimensionOffer;
class FileList;

class Slide {
 public:
  static constexpr int16_t kDefaultLeft = 10;
  static constexpr int16_t kDefaultTop = 10;
  static constexpr int16_t kDefaultWidth = 80;
  static constexpr int16_t kDefaultHeight = 80;

  explicit Slide(const MessageProfile& profile = MessageProfile::Current());

  const std::string& Name() const { return name_; }
  void SetName(std::string v) { name_ = std::move(v); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  int32_t BackColor() const { return backColor_; }
  void SetBackColor(int32_t v) { backColor_ = v; }
  int16_t HelpTopic() const { return helpTopic_; }
  void SetHelpTopic(int16_t v) { helpTopic_ = v; }
  const std::string& PictureFile() const { return pictureFile_; }
  // Checks a non-empty path first (at least 3 characters, a full path); a refused path is
  // reported in a message box and changes nothing. An accepted one resets the picture
  // position. Returns whether the path was taken.
  bool SetPictureFile(const std::string& path);
  IconCollection& Icons() { return icons_; }
  const IconCollection& Icons() const { return icons_; }

  void GetPicturePosition(int16_t& l, int16_t& t, int16_t& w, int16_t& h) const;
  void SetPicturePosition(int16_t l, int16_t t, int16_t w, int16_t h);
  int16_t Left() const { return left_; }
  int16_t Top() const { return top_; }
  int16_t Width() const { return width_; }
  int16_t Height() const { return height_; }

  bool IsOutOfTolerance() const { return icons_.IsOutOfTolerance(); }
  int32_t WorstTolerance() const { return icons_.WorstTolerance(); }
  // Some icon's Name equals the name exactly.
  bool IsDCmdUsed(const std::string& sDCmdName) const;

  void UpdateDigits(int16_t lDigits);
  void UpdateReport(DimensionOffer& dimension);
  void CalculateAverage();
  void InitializeSampleSet(int16_t nSampleSize);
  void CollectSampleSet(Slide& oAvg, const std::string& sLogFilename);

  // The picture (when set) joins the archive's list; a missing one fails with error 53.
  void BuildFileList(FileList& oFileList) const;
  // The picture takes its restored name; its position on the slide stays as it was.
  void UpdateFileList(const FileList& oFileList);

  void LoadFromFile(BlockParser& parser);
  void SaveToFile(std::string& out);
  void LoadFromBinary(BinaryStream& stream, int16_t nFormatControl);
  void SaveToBinary(BinaryStream& stream);

  // Loading never checks the path; this stores it as read.
  void SetPictureFileUnchecked(std::string path) { pictureFile_ = std::move(path); }

 private:
  const MessageProfile* profile_;
  std::string name_;
  bool enabled_ = true;
  std::string pictureFile_;
  int32_t backColor_ = kButtonFaceColor;
  int16_t left_ = kDefaultLeft;
  int16_t top_ = kDefaultTop;
  int16_t width_ = kDefaultWidth;
  int16_t height_ = kDefaultHeight;
  int16_t helpTopic_ = 0;
  IconCollection icons_;
};

class SlideCollection {
 public:
  explicit SlideCollection(const MessageProfile& profile = MessageProfile::Current()) : profile_(&profile) {}

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // 1-based; error 9 outside the list.
  const std::shared_ptr<Slide>& Item(int32_t index) const;
  // A new slide named by the program's "new slide" message, after position vInsertAfter
  // (0 puts it first), or at the end without it.
  std::shared_ptr<Slide> Add();
  std::shared_ptr<Slide> Add(int32_t vInsertAfter);
  // The same, before position vInsertBefore (Count + 1 appends), or at the end without it.
  std::shared_ptr<Slide> Insert();
  std::shared_ptr<Slide> Insert(int32_t vInsertBefore);
  void Remove(int32_t index);
  // Swap a slide with its neighbour; the new position, or 0 after a failure, which is shown in
  // a message box. No slide is ever lost.
  int32_t MoveDown(int32_t lMoveAfter);
  int32_t MoveUp(int32_t lMoveBefore);
  // Some slide other than the one at lIndex is out of tolerance.
  bool IsOutOfTolerance(int32_t lIndex) const;
  // The greatest slide state (0 for none), folded.
  int32_t WorstTolerance() const;

  void AddFromFile(BlockParser& parser);
  void AddFromBinary(BinaryStream& stream, int16_t nFormatControl);
  void SaveToBinary(BinaryStream& stream);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::shared_ptr<Slide> NewSlide() const;
  int32_t Move(int32_t from, int32_t to, const char* source);

  const MessageProfile* profile_;
  std::vector<std::shared_ptr<Slide>> items_;
};

}  // namespace zephra::document
