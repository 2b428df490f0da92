#include "variant.h"

#include <cmath>
#include <limits>

#include "automation_error.h"
#include "number_text.h"
#include "text.h"

namespace zephra::common {

namespace {

constexpr const char* kSource = "Variant";

[[noreturn]] void Mismatch() { RaisePlatformError(err::TypeMismatch, kSource); }
[[noreturn]] void Overflow() { RaisePlatformError(err::Overflow, kSource); }
[[noreturn]] void NullUse() { RaisePlatformError(err::InvalidUseOfNull, kSource); }

template <class T>
T RoundToInteger(double d) {
  if (std::isnan(d)) Overflow();
  const double r = RoundHalfEven(d);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max())) {
    Overflow();
  }
  return static_cast<T>(r);
}

}  // namespace

VarType Variant::Type() const {
  switch (v_.index()) {
    case 0: return VarType::Empty;
    case 1: return VarType::Null;
    case 2: return VarType::Integer;
    case 3: return VarType::Long;
    case 4: return VarType::Single;
    case 5: return VarType::Double;
    case 6: return VarType::Date;
    case 7: return VarType::String;
    case 8: return VarType::Object;
    case 9: return VarType::Error;
    case 10: return VarType::Boolean;
    case 11: return VarType::Byte;
    default: return VarType::Array;
  }
}

bool Variant::IsNumeric() const {
  switch (Type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Byte:
    case VarType::Boolean:
    case VarType::Empty: return true;
    case VarType::String: return ParseNumber(std::get<std::string>(v_)).has_value();
    default: return false;
  }
}

std::string Variant::ToString() const {
  switch (Type()) {
    case VarType::Empty: return "";
    case VarType::Null: NullUse();
    case VarType::Integer: return std::to_string(std::get<int16_t>(v_));
    case VarType::Long: return std::to_string(std::get<int32_t>(v_));
    case VarType::Byte: return std::to_string(std::get<uint8_t>(v_));
    case VarType::Single: return FormatSingle(std::get<float>(v_));
    case VarType::Double: return FormatDouble(std::get<double>(v_));
    case VarType::Date: return FormatDateTime(std::get<DateValue>(v_).value);
    case VarType::String: return std::get<std::string>(v_);
    case VarType::Boolean: return std::get<bool>(v_) ? "True" : "False";
    default: Mismatch();
  }
}

double Variant::ToDouble() const {
  switch (Type()) {
    case VarType::Empty: return 0.0;
    case VarType::Null: NullUse();
    case VarType::Integer: return std::get<int16_t>(v_);
    case VarType::Long: return std::get<int32_t>(v_);
    case VarType::Byte: return std::get<uint8_t>(v_);
    case VarType::Single: return std::get<float>(v_);
    case VarType::Double: return std::get<double>(v_);
    case VarType::Date: return std::get<DateValue>(v_).value;
    case VarType::Boolean: return std::get<bool>(v_) ? -1.0 : 0.0;
    case VarType::String: {
      const std::string& s = std::get<std::string>(v_);
      if (auto d = ParseNumber(s)) return *d;
      if (EqualsNoCase(TrimSpaces(s), "True")) return -1.0;
      if (EqualsNoCase(TrimSpaces(s), "False")) return 0.0;
      Mismatch();
    }
    default: Mismatch();
  }
}

float Variant::ToSingle() const {
  const double d = ToDouble();
  if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) Overflow();
  return static_cast<float>(d);
}

int32_t Variant::ToLong() const {
  switch (Type()) {
    case VarType::Integer: return std::get<int16_t>(v_);
    case VarType::Long: return std::get<int32_t>(v_);
    case VarType::Byte: return std::get<uint8_t>(v_);
    case VarType::Boolean: return std::get<bool>(v_) ? -1 : 0;
    default: return RoundToInteger<int32_t>(ToDouble());
  }
}

int16_t Variant::ToInt() const { return RoundToInteger<int16_t>(static_cast<double>(ToLong())); }

uint8_t Variant::ToByte() const { return RoundToInteger<uint8_t>(ToDouble()); }

bool Variant::ToBool() const {
  switch (Type()) {
    case VarType::Boolean: return std::get<bool>(v_);
    case VarType::String: {
      const std::string_view s = TrimSpaces(std::get<std::string>(v_));
      if (EqualsNoCase(s, "True")) return true;
      if (EqualsNoCase(s, "False")) return false;
      if (auto d = ParseNumber(s)) return *d != 0.0;
      Mismatch();
    }
    default: return ToDouble() != 0.0;
  }
}

double Variant::ToDate() const {
  switch (Type()) {
    case VarType::Date: return std::get<DateValue>(v_).value;
    case VarType::String: {
      const std::string& s = std::get<std::string>(v_);
      if (auto d = ParseDateTime(s)) return *d;
      if (auto n = ParseNumber(s)) return *n;
      Mismatch();
    }
    default: return ToDouble();
  }
}

std::shared_ptr<Dispatch> Variant::ToObject() const {
  if (const auto* p = std::get_if<std::shared_ptr<Dispatch>>(&v_)) return *p;
  Mismatch();
}

const std::vector<Variant>& Variant::ToArray() const {
  if (const auto* p = std::get_if<std::vector<Variant>>(&v_)) return *p;
  Mismatch();
}

std::vector<Variant>& Variant::ArrayRef() {
  if (auto* p = std::get_if<std::vector<Variant>>(&v_)) return *p;
  Mismatch();
}

}  // namespace zephra::common
