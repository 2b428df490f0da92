#include "value.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "binary_stream.h"
#include "common/automation_error.h"
#include "common/number_text.h"
#include "common/text.h"
#include "dimension_offer.h"
#include "document_io.h"

namespace zephra::document {

using common::Variant;
using common::VarType;

namespace {

// Beyond this many decimals rounding cannot change a double any more (its shortest decimal
// form ends before), so longer formats are rounded at this length.
constexpr int kMaxRoundingDecimals = 400;

// Rounds the way the display format "0.000" does and reads the text back.
double RoundToDecimals(double v, int16_t decimals) {
  if (!std::isfinite(v)) return v;
  const int d = std::clamp<int>(decimals, 0, kMaxRoundingDecimals);
  if (auto r = common::ParseNumber(common::FormatFixed(v, d))) return *r;
  return v;
}

// Host command types whose M axis has a lower tolerance too: always, or when the dimension's
// member 26 is 1.
constexpr int32_t kTwoSidedMTypes[] = {1106, 1107};
constexpr int32_t kTwoSidedMTypesWith26[] = {1118, 1105};

template <size_t N>
bool IsOneOf(int32_t type, const int32_t (&types)[N]) {
  return std::find(std::begin(types), std::end(types), type) != std::end(types);
}

bool IsTwoSidedAxis(const std::string& a) {
  static const char* const kAxes[] = {"A", "D", "DD", "DF", "L", "PD", "R", "RS", "RT", "S", "T", "V"};
  return std::any_of(std::begin(kAxes), std::end(kAxes), [&](const char* x) { return a == x; });
}

bool IsPositionalAxis(const std::string& a) {
  return a == "PA" || a == "PR" || a == "X" || a == "Y" || a == "Z";
}

}  // namespace

Value::Value(const MessageProfile& profile) : profile_(&profile) {}

void Value::SetGeometricSymbol(int32_t v) {
  if (v >= 1 && v <= 48) symbol_ = v;
}

int16_t Value::Percentage() const {
  // A fraction whose percent does not fit a 16-bit integer overflows (error 6) instead of
  // wrapping round to a different percentage.
  return common::Variant(fraction_ * 100.0).ToInt();
}

void Value::SetPercentage(int16_t percent) { fraction_ = percent / 100.0; }

bool Value::OutOfTolerance() const { return IsOutOfToleranceState(tolerance_); }

const std::string& Value::LogItem(int32_t index) const {
  if (index < 1 || index > LogCount()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "Value.LogItem");
  return logs_[static_cast<size_t>(index - 1)];
}

const std::string& Value::ValueItem(int32_t index) const {
  if (index < 1 || index > ValueCount()) {
    common::RaisePlatformError(common::err::SubscriptOutOfRange, "Value.ValueItem");
  }
  return values_[static_cast<size_t>(index - 1)];
}

std::string Value::DisplayText() const {
  switch (currentValue_.Type()) {
    case VarType::Empty: return "";
    case VarType::Null: return "NULL";
    case VarType::Single:
    case VarType::Double: {
      const double v = currentValue_.ToDouble();
      if (!std::isfinite(v)) return common::FormatDouble(v);
      std::string s = common::FormatFixed(v, std::max<int>(format_, 0));
      // The display pattern has no digit before the separator: 0.25 shows as .250.
      const bool negative = !s.empty() && s[0] == '-';
      const size_t intStart = negative ? 1 : 0;
      if (s.compare(intStart, 1, "0") == 0 && (s.size() == intStart + 1 || s[intStart + 1] == '.')) {
        s.erase(intStart, 1);
      }
      if (format_ <= 0) s.push_back('.');
      return s;
    }
    case VarType::Object:
    case VarType::Array:
    case VarType::Error: return "";
    default: return currentValue_.ToString();
  }
}

double Value::ColumnNumber(int16_t column) const {
  switch (column) {
    case kColumnMeasured: return measured_;
    case kColumnNominal: return nominal_;
    case kColumnPlusTol: return plusTol_;
    case kColumnMinusTol: return minusTol_;
    case kColumnDeviation: return deviation_;
    case kColumnOutTol: return outTol_;
    default: return 0;
  }
}

double Value::RoundedColumnNumber() {
  const double in = ColumnNumber(column_);
  // Compared bit for bit, so -0.0 and NaN are never confused with another input.
  if (!roundMemo_ || roundMemoFormat_ != format_ || std::memcmp(&roundMemoIn_, &in, sizeof in) != 0) {
    roundMemoOut_ = RoundToDecimals(in, format_);
    roundMemoIn_ = in;
    roundMemoFormat_ = format_;
    roundMemo_ = true;
  }
  return roundMemoOut_;
}

void Value::RoundCurrent() {
  if (IsNumberColumn(column_)) currentValue_ = Variant(RoundedColumnNumber());
}

void Value::SetRawColumnValue() {
  if (IsNumberColumn(column_)) currentValue_ = Variant(ColumnNumber(column_));
}

void Value::UpdateDigits(int16_t lDigits) {
  format_ = lDigits;
  RoundCurrent();
}

int32_t Value::Classify(double d, double plusTol, double minusTol, double softPlusTol, double softMinusTol) {
  if (d == 0) return tolerance::OK;
  if (d < -minusTol) return tolerance::ErrorMinus;
  if (d > plusTol) return tolerance::ErrorPlus;
  if (d < -softMinusTol) return tolerance::WarningMinus;
  if (d > softPlusTol) return tolerance::WarningPlus;
  return tolerance::OK;
}

bool Value::UpdateReport(std::shared_ptr<common::Dispatch> oDCmd, const std::string& iFeatureName) {
  DimensionOffer offer(std::move(oDCmd));
  return UpdateReport(offer, iFeatureName);
}

bool Value::UpdateReport(DimensionOffer& dim, const std::string& iFeatureName) {
  const std::string& key = dim.UniqueKey();
  if (key != uniqueId_) {
    // Not bound to this dimension (or bound to one the program no longer has): take it only
    // when axis and feature name agree, and bind to it from now on.
    if (axisLetter_ != dim.AxisLetter()) return false;
    if (dim.FeatureName() != iFeatureName) return false;
    uniqueId_ = key;
  }

  axisLetter_ = dim.AxisLetter();
  const DimensionOffer::Numbers& n = dim.Results();
  measured_ = n.measured;
  nominal_ = n.nominal;
  plusTol_ = n.plusTol;
  minusTol_ = n.minusTol;
  deviation_ = n.deviation;
  outTol_ = n.outTol;
  angle_ = n.angle;
  bonus_ = n.bonus;
  devAngle_ = n.devAngle;
  length_ = n.length;
  max_ = n.max;
  min_ = n.min;
  feat1_ = n.feat1;
  const int32_t commandType = dim.CommandType();

  if (IsNumberColumn(column_)) currentValue_ = Variant(ColumnNumber(column_));

  bool positional = false;
  bool twoSided = false;
  bool oneSided = false;
  if (IsTwoSidedAxis(axisLetter_)) {
    twoSided = true;
  } else if (IsPositionalAxis(axisLetter_)) {
    twoSided = true;
    positional = true;
  } else if (axisLetter_ == "M") {
    const bool m26 = dim.M26() == 1;
    twoSided = IsOneOf(commandType, kTwoSidedMTypes) || (m26 && IsOneOf(commandType, kTwoSidedMTypesWith26));
    oneSided = !twoSided;
  } else if (axisLetter_ == "TP") {
    oneSided = true;
  }
  if (twoSided) {
    softPlusTol_ = plusTol_ * fraction_;
    softMinusTol_ = minusTol_ * fraction_;
  } else if (oneSided) {
    // Form and position tolerances have only an upper limit, widened by the bonus.
    plusTol_ += bonus_;
    minusTol_ = 0;
    softMinusTol_ = 0;
    softPlusTol_ = plusTol_ * fraction_;
  }

  // The X, Y and Z of a true position are the coordinates the position is computed from; the
  // position itself is judged, not each coordinate. The axes of a location group are judged.
  if (column_ != kColumnDeviation || (positional && dim.InTruePositionGroup())) {
    tolerance_ = tolerance::NotEvaluated;
  } else {
    gotTols_ = true;
    tolerance_ = Classify(currentValue_.ToDouble(), plusTol_, minusTol_, softPlusTol_, softMinusTol_);
  }
  RoundCurrent();
  return true;
}

void Value::Copy(Value& t) const {
  t.SetValueType(valueType_);
  t.SetColumn(column_);
  t.SetGeometricSymbol(symbol_);
  t.SetPercentage(Percentage());
  t.SetCurrentValue(currentValue_);
  t.SetIsAverage(isAverage_);
  t.SetUniqueID(uniqueId_);
  t.SetAngle(angle_);
  t.SetBonus(bonus_);
  t.SetDevAngle(devAngle_);
  t.SetDeviation(deviation_);
  t.SetLength(length_);
  t.SetMax(max_);
  t.SetMeasured(measured_);
  t.SetMin(min_);
  t.SetNominal(nominal_);
  t.SetOutTol(outTol_);
  t.SetAxisLetter(axisLetter_);
  t.SetFeat1(feat1_);
  t.SetMinusTol(minusTol_);
  t.SetPlusTol(plusTol_);
  t.SetSoftMinusTol(softMinusTol_);
  t.SetSoftPlusTol(softPlusTol_);
}

void Value::InitializeSampleSet(int16_t nSize) {
  summ_ = 0;
  summCount_ = 0;
  sampleSize_ = nSize;
  isAverage_ = true;
}

void Value::CollectSampleSet(Value& avg, const std::string& sLogFilename) const {
  try {
    if (avg.column_ != column_ || avg.axisLetter_ != axisLetter_ || tolerance_ == tolerance::Empty) return;
    if (avg.summCount_ >= avg.sampleSize_) return;
    if (avg.IsLogCol(sLogFilename)) return;
    const std::string text = DisplayText();
    const double sample = Variant(text).ToDouble();
    avg.summ_ += sample;
    avg.summCount_ = static_cast<int16_t>(avg.summCount_ + 1);
    avg.logs_.push_back(sLogFilename);
    avg.values_.push_back(text);
    if (!avg.gotTols_ && gotTols_) {
      avg.plusTol_ = plusTol_;
      avg.minusTol_ = minusTol_;
      avg.softPlusTol_ = softPlusTol_;
      avg.softMinusTol_ = softMinusTol_;
      avg.gotTols_ = true;
    }
  } catch (const common::AutomationError&) {
    // A run that cannot be added (no number shown) is left out of the average.
  }
}

void Value::CalculateAverage() {
  if (column_ != kColumnDeviation || summCount_ <= 0) return;
  const double average = RoundToDecimals(summ_ / summCount_, format_);
  currentValue_ = Variant(average);
  tolerance_ = summCount_ == sampleSize_ && gotTols_
                   ? Classify(average, plusTol_, minusTol_, softPlusTol_, softMinusTol_)
                   : tolerance::Empty;
}

bool Value::IsLogCol(const std::string& sLog) const {
  return std::find(logs_.begin(), logs_.end(), sLog) != logs_.end();
}

std::string Value::VariantToTagged(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty: return "EMPTY";
    case VarType::Null: return "NULL";
    case VarType::Integer: return "INTEGER|" + v.ToString();
    case VarType::Long: return "LONG|" + v.ToString();
    case VarType::Single: return "SINGLE|" + v.ToString();
    case VarType::Double: return "DOUBLE|" + v.ToString();
    case VarType::Date: return "DATE|" + v.ToString();
    case VarType::String: return "STRING|" + v.ToString();
    case VarType::Boolean: return "BOOLEAN|" + v.ToString();
    case VarType::Byte: return "BYTE|" + v.ToString();
    default: return "UNSUPPORTED";
  }
}

Variant Value::TaggedToVariant(const std::string& text) {
  const std::vector<std::string> parts = common::Split(text, '|');
  const std::string type = parts.empty() ? std::string("EMPTY") : common::ToUpperAscii(parts[0]);
  std::string body = parts.size() > 1 ? parts[1] : std::string();
  const bool textual = type == "STRING" || type == "DATE";
  if (body.empty() && !textual) body = "0";
  const Variant b(body);
  if (type == "INTEGER") return Variant(b.ToInt());
  if (type == "LONG") return Variant(b.ToLong());
  if (type == "SINGLE") return Variant(b.ToSingle());
  if (type == "DOUBLE") return Variant(b.ToDouble());
  if (type == "DATE") return Variant::Date(b.ToDate());
  if (type == "STRING") return Variant(body);
  if (type == "BOOLEAN") return Variant(b.ToBool());
  if (type == "BYTE") return Variant(b.ToByte());
  if (type == "NULL") return Variant::Null();
  return Variant();
}

void Value::LoadFromFile(BlockParser& parser) {
  const MessageProfile& p = *profile_;
  const int32_t src = p.valueSource;
  while (true) {
    const int token = parser.GetToken();
    if (token == BlockParser::TokenEndBlock || token == BlockParser::TokenEndFile) return;
    if (token == BlockParser::TokenStartBlock) RaiseBlockMismatch(parser, p, src, "none");
    const std::string& key = parser.Key();
    if (key == "TYPE") {
      valueType_ = parser.Value();
    } else if (key == "UNIQUEID") {
      uniqueId_ = parser.Value();
    } else if (key == "AXISLETTER") {
      axisLetter_ = parser.Value();
    } else if (key == "SYMBOL") {
      symbol_ = KeyLong(parser, p, src);
    } else if (key == "COLUMN") {
      column_ = KeyInt(parser, p, src);
    } else if (key == "PERCENTAGE") {
      fraction_ = KeyDouble(parser, p, src);
    } else if (key == "VALUE") {
      try {
        currentValue_ = TaggedToVariant(parser.Value());
      } catch (const common::AutomationError& e) {
        RaiseBadValue(e, parser, p, src);
      }
    } else if (key == "MEASURED") {
      measured_ = KeyDouble(parser, p, src);
    } else if (key == "NOMINAL") {
      nominal_ = KeyDouble(parser, p, src);
    } else if (key == "PLUSTOL") {
      plusTol_ = KeyDouble(parser, p, src);
    } else if (key == "MINUSTOL") {
      minusTol_ = KeyDouble(parser, p, src);
    } else if (key == "DEVIATION") {
      deviation_ = KeyDouble(parser, p, src);
    } else if (key == "OUTTOL") {
      outTol_ = KeyDouble(parser, p, src);
    } else if (key == "FORMAT") {
      format_ = KeyInt(parser, p, src);
    } else if (key == "TOLERANCE") {
      tolerance_ = KeyLong(parser, p, src);
    } else if (key == "ISLIMIT") {
      isLimit_ = KeyBool(parser, p, src);
    } else {
      ReportUnknownKey(p, "Icon Value", key, src);
    }
  }
}

void Value::SaveToFile(std::string& out) {
  SetRawColumnValue();
  WritePlainLine(out, 3, "BLOCK Value");
  WriteKeyLine(out, 4, "TYPE", valueType_);
  WriteKeyLine(out, 4, "UNIQUEID", uniqueId_);
  WriteKeyLine(out, 4, "AXISLETTER", axisLetter_);
  WriteKeyLine(out, 4, "SYMBOL", symbol_);
  WriteKeyLine(out, 4, "COLUMN", int32_t{column_});
  WriteKeyDouble(out, 4, "PERCENTAGE", fraction_);
  WriteKeyLine(out, 4, "VALUE", VariantToTagged(currentValue_));
  WriteKeyDouble(out, 4, "MEASURED", measured_);
  WriteKeyDouble(out, 4, "NOMINAL", nominal_);
  WriteKeyDouble(out, 4, "PLUSTOL", plusTol_);
  WriteKeyDouble(out, 4, "MINUSTOL", minusTol_);
  WriteKeyDouble(out, 4, "DEVIATION", deviation_);
  WriteKeyDouble(out, 4, "OUTTOL", outTol_);
  WriteKeyLine(out, 4, "FORMAT", int32_t{format_});
  WriteKeyLine(out, 4, "TOLERANCE", tolerance_);
  WriteKeyLine(out, 4, "ISLIMIT", isLimit_);
  WritePlainLine(out, 3, "END");
}

void Value::LoadFromBinary(BinaryStream& s, int16_t nFormatControl) {
  binaryVersion_ = nFormatControl;
  s.GetString(valueType_);
  s.GetString(uniqueId_);
  s.GetString(axisLetter_);
  s.GetLong(symbol_);
  s.GetInteger(column_);
  s.GetInteger(format_);
  s.GetDouble(fraction_);
  s.GetLong(tolerance_);
  s.GetBoolean(isLimit_);
  s.GetVariant(currentValue_);
  s.GetDouble(measured_);
  s.GetDouble(nominal_);
  s.GetDouble(deviation_);
  s.GetDouble(outTol_);
  if (nFormatControl == 1) {
    s.GetDouble(plusTol_);
    s.GetDouble(minusTol_);
    s.GetDouble(softPlusTol_);
    s.GetDouble(softMinusTol_);
    gotTols_ = true;
  }
}

void Value::SaveToBinary(BinaryStream& s) {
  SetRawColumnValue();
  s.WriteString(valueType_);
  s.WriteString(uniqueId_);
  s.WriteString(axisLetter_);
  s.WriteLong(symbol_);
  s.WriteInteger(column_);
  s.WriteInteger(format_);
  s.WriteDouble(fraction_);
  s.WriteLong(tolerance_);
  s.WriteBoolean(isLimit_);
  s.WriteVariant(currentValue_);
  s.WriteDouble(measured_);
  s.WriteDouble(nominal_);
  s.WriteDouble(deviation_);
  s.WriteDouble(outTol_);
  s.WriteDouble(plusTol_);
  s.WriteDouble(minusTol_);
  s.WriteDouble(softPlusTol_);
  s.WriteDouble(softMinusTol_);
}

const std::shared_ptr<Value>& ValueCollection::Item(int32_t index) const {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "ValueCollection.Item");
  return items_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<Value> ValueCollection::Add() {
  items_.push_back(std::make_shared<Value>(*profile_));
  return items_.back();
}

std::shared_ptr<Value> ValueCollection::Add(int32_t vPos) {
  if (vPos < 1 || vPos > Count() + 1) common::RaisePlatformError(common::err::SubscriptOutOfRange, "ValueCollection.Add");
  auto v = std::make_shared<Value>(*profile_);
  items_.insert(items_.begin() + (vPos - 1), v);
  return v;
}

void ValueCollection::Remove(int32_t lIndex) {
  if (lIndex >= 1 && lIndex <= Count()) items_.erase(items_.begin() + (lIndex - 1));
}

void ValueCollection::Copy(ValueCollection& target) const {
  if (&target == this) return;
  target.RemoveAll();
  for (const auto& v : items_) v->Copy(*target.Add());
}

bool ValueCollection::IsOutOfTolerance() const {
  return std::any_of(items_.begin(), items_.end(), [](const auto& v) { return v->OutOfTolerance(); });
}

int32_t ValueCollection::WorstTolerance() const {
  int32_t worst = tolerance::Empty;
  for (const auto& v : items_) worst = std::max(worst, v->TOLERANCE());
  return worst;
}

void ValueCollection::AddFromFile(BlockParser& parser) {
  auto v = std::make_shared<Value>(*profile_);
  v->LoadFromFile(parser);
  items_.push_back(std::move(v));
}

void ValueCollection::AddFromBinary(BinaryStream& stream, int16_t nFormatControl) {
  const int32_t n = stream.GetCount(nFormatControl == 1 ? BinaryStream::kMinValueRecordV1 : BinaryStream::kMinValueRecord,
                                    profile_->valueSource);
  for (int32_t i = 0; i < n; ++i) {
    auto v = std::make_shared<Value>(*profile_);
    v->LoadFromBinary(stream, nFormatControl);
    items_.push_back(std::move(v));
  }
}

void ValueCollection::SaveToBinary(BinaryStream& stream) {
  stream.WriteLong(Count());
  for (const auto& v : items_) v->SaveToBinary(stream);
}

}  // namespace zephra::document
