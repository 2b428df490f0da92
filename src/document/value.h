#pragma once
// One number shown in an icon: one axis of one host dimension. It keeps the numbers the host
// reported, shows one of them (its column) rounded to its decimals, classifies the deviation
// against its tolerances, and carries the bookkeeping for averages over several runs.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "block_parser.h"
#include "common/dispatch.h"
#include "common/variant.h"
#include "message_profile.h"

namespace zephra::document {

class BinaryStream;
class DimensionOffer;

class Value {
 public:
  // Columns: which of the numbers the value shows.
  static constexpr int16_t kColumnMeasured = 0;
  static constexpr int16_t kColumnNominal = 1;
  static constexpr int16_t kColumnPlusTol = 2;
  static constexpr int16_t kColumnMinusTol = 3;
  static constexpr int16_t kColumnDeviation = 4;
  static constexpr int16_t kColumnOutTol = 5;

  explicit Value(const MessageProfile& profile = MessageProfile::Current());

  const std::string& ValueType() const { return valueType_; }
  void SetValueType(std::string v) { valueType_ = std::move(v); }
  const std::string& UniqueID() const { return uniqueId_; }
  void SetUniqueID(std::string v) { uniqueId_ = std::move(v); }
  const std::string& AxisLetter() const { return axisLetter_; }
  void SetAxisLetter(std::string v) { axisLetter_ = std::move(v); }
  const std::string& Feat1() const { return feat1_; }
  void SetFeat1(std::string v) { feat1_ = std::move(v); }
  int32_t GeometricSymbol() const { return symbol_; }
  // Symbols outside 1..48 are ignored.
  void SetGeometricSymbol(int32_t v);
  int16_t Column() const { return column_; }
  void SetColumn(int16_t v) { column_ = v; }
  // The warning fraction as a whole percent (halves to even), and set from one.
  int16_t Percentage() const;
  void SetPercentage(int16_t percent);
  double PercentageFraction() const { return fraction_; }
  void SetPercentageFraction(double f) { fraction_ = f; }
  const common::Variant& CurrentValue() const { return currentValue_; }
  void SetCurrentValue(common::Variant v) { currentValue_ = std::move(v); }

  double Measured() const { return measured_; }
  void SetMeasured(double v) { measured_ = v; }
  double Nominal() const { return nominal_; }
  void SetNominal(double v) { nominal_ = v; }
  double PlusTol() const { return plusTol_; }
  void SetPlusTol(double v) { plusTol_ = v; }
  double MinusTol() const { return minusTol_; }
  void SetMinusTol(double v) { minusTol_ = v; }
  double Deviation() const { return deviation_; }
  void SetDeviation(double v) { deviation_ = v; }
  double OutTol() const { return outTol_; }
  void SetOutTol(double v) { outTol_ = v; }
  double Angle() const { return angle_; }
  void SetAngle(double v) { angle_ = v; }
  double Bonus() const { return bonus_; }
  void SetBonus(double v) { bonus_ = v; }
  double DevAngle() const { return devAngle_; }
  void SetDevAngle(double v) { devAngle_ = v; }
  double Length() const { return length_; }
  void SetLength(double v) { length_ = v; }
  double Max() const { return max_; }
  void SetMax(double v) { max_ = v; }
  double Min() const { return min_; }
  void SetMin(double v) { min_ = v; }
  double SoftPlusTol() const { return softPlusTol_; }
  void SetSoftPlusTol(double v) { softPlusTol_ = v; }
  double SoftMinusTol() const { return softMinusTol_; }
  void SetSoftMinusTol(double v) { softMinusTol_ = v; }
  double Summ() const { return summ_; }
  void SetSumm(double v) { summ_ = v; }

  // Decimals shown.
  int16_t Format() const { return format_; }
  void SetFormat(int16_t v) { format_ = v; }
  int32_t TOLERANCE() const { return tolerance_; }
  void SetTOLERANCE(int32_t v) { tolerance_ = v; }
  bool IsLimitTolerance() const { return isLimit_; }
  void SetIsLimitTolerance(bool v) { isLimit_ = v; }
  bool IsAverage() const { return isAverage_; }
  void SetIsAverage(bool v) { isAverage_ = v; }
  bool GotTols() const { return gotTols_; }
  void SetGotTols(bool v) { gotTols_ = v; }
  int16_t SampleSize() const { return sampleSize_; }
  void SetSampleSize(int16_t v) { sampleSize_ = v; }
  int16_t SummCount() const { return summCount_; }
  void SetSummCount(int16_t v) { summCount_ = v; }
  int16_t BinaryVersion() const { return binaryVersion_; }

  // States 2 to 7, warnings included.
  bool OutOfTolerance() const;
  int32_t LogCount() const { return static_cast<int32_t>(logs_.size()); }
  // 1-based; error 9 outside the list.
  const std::string& LogItem(int32_t index) const;
  int32_t ValueCount() const { return static_cast<int32_t>(values_.size()); }
  const std::string& ValueItem(int32_t index) const;

  // The `Value` property: the display text of CurrentValue. Empty for empty, "NULL" for null,
  // a single or double with the decimals of Format and no digit before the point when the
  // integer part is 0 (".250", "-.050", "12.346"), any other kind as plain text.
  std::string DisplayText() const;

  // The number of a column (0 to 5); 0 for any other column.
  double ColumnNumber(int16_t column) const;
  static bool IsNumberColumn(int16_t column) { return column >= kColumnMeasured && column <= kColumnOutTol; }

  // Sets the decimals and rounds CurrentValue anew.
  void UpdateDigits(int16_t lDigits);
  // Offers one executed host dimension; true when the value took it. iFeatureName is the
  // owning icon's feature name.
  bool UpdateReport(DimensionOffer& dimension, const std::string& iFeatureName);
  bool UpdateReport(std::shared_ptr<common::Dispatch> oDCmd, const std::string& iFeatureName);

  // Copies the description and results into target; format, state, limit flag, GotTols and
  // the sample fields stay the target's.
  void Copy(Value& target) const;

  // Sample sets (averages over runs).
  void InitializeSampleSet(int16_t nSize);
  void CollectSampleSet(Value& objAvg, const std::string& sLogFilename) const;
  void CalculateAverage();
  bool IsLogCol(const std::string& sLog) const;
  void AddLog(std::string fileName) { logs_.push_back(std::move(fileName)); }
  void AddValue(std::string sValue) { values_.push_back(std::move(sValue)); }

  // Classification of a deviation (all comparisons strict; a deviation on a limit is inside).
  static int32_t Classify(double d, double plusTol, double minusTol, double softPlusTol, double softMinusTol);

  // The value block of the text form, read just after its BLOCK line.
  void LoadFromFile(BlockParser& parser);
  // Appends the value block (depth 3 block lines, depth 4 keys). Sets CurrentValue to the
  // column's unrounded number first, so VALUE holds the raw number of the shown column.
  void SaveToFile(std::string& out);
  void LoadFromBinary(BinaryStream& stream, int16_t nFormatControl);
  void SaveToBinary(BinaryStream& stream);

  // The tagged text of a variant as VALUE holds it ("DOUBLE|0.25", "EMPTY"), and back.
  static std::string VariantToTagged(const common::Variant& v);
  static common::Variant TaggedToVariant(const std::string& text);

 private:
  void RoundCurrent();
  void SetRawColumnValue();
  // Rounding through the display text is costly and every offered dimension rounds every
  // value again, so the last rounding is remembered by its inputs.
  double RoundedColumnNumber();

  const MessageProfile* profile_;
  std::string valueType_ = "DA";
  std::string uniqueId_;
  std::string axisLetter_;
  std::string feat1_;
  int32_t symbol_ = 1;
  int16_t column_ = kColumnDeviation;
  double fraction_ = 0.8;
  common::Variant currentValue_;
  double measured_ = 0, nominal_ = 0, plusTol_ = 0, minusTol_ = 0, deviation_ = 0, outTol_ = 0;
  double angle_ = 0, bonus_ = 0, devAngle_ = 0, length_ = 0, max_ = 0, min_ = 0;
  double softPlusTol_ = 0, softMinusTol_ = 0;
  double summ_ = 0;
  int16_t format_ = 3;
  int32_t tolerance_ = 0;
  bool isLimit_ = false;
  bool isAverage_ = false;
  bool gotTols_ = false;
  int16_t sampleSize_ = 0;
  int16_t summCount_ = 0;
  int16_t binaryVersion_ = 0;
  std::vector<std::string> logs_;
  std::vector<std::string> values_;
  bool roundMemo_ = false;
  int16_t roundMemoFormat_ = 0;
  double roundMemoIn_ = 0;
  double roundMemoOut_ = 0;
};

// An icon's values, 1-based, in insertion order.
class ValueCollection {
 public:
  explicit ValueCollection(const MessageProfile& profile = MessageProfile::Current()) : profile_(&profile) {}

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // 1-based; error 9 outside the list.
  const std::shared_ptr<Value>& Item(int32_t index) const;
  // A new default value before position vPos (1..Count+1), or appended without it.
  std::shared_ptr<Value> Add();
  std::shared_ptr<Value> Add(int32_t vPos);
  // Out-of-range indexes are ignored.
  void Remove(int32_t lIndex);
  void RemoveAll() { items_.clear(); }
  // Empties target, then appends a copy (Value::Copy) of every value.
  void Copy(ValueCollection& target) const;
  bool IsOutOfTolerance() const;
  // The greatest state, starting from 0 (so -1 never wins); not folded.
  int32_t WorstTolerance() const;

  void AddFromFile(BlockParser& parser);
  void AddFromBinary(BinaryStream& stream, int16_t nFormatControl);
  void SaveToBinary(BinaryStream& stream);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  const MessageProfile* profile_;
  std::vector<std::shared_ptr<Value>> items_;
};

}  // namespace zephra::document
