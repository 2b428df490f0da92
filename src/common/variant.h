#pragma once
// The value that crosses the automation boundary, with the platform's conversions.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace zephra::common {

class Dispatch;

// Type codes as the platform numbers them.
enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,  // only as "missing": an optional argument left out
  Boolean = 11,
  Byte = 17,
  Array = 0x200C,
};

class Variant {
 public:
  struct NullTag {};
  struct MissingTag {};
  struct DateValue {
    double value;
  };

  Variant() = default;
  Variant(int16_t v) : v_(v) {}
  Variant(int32_t v) : v_(v) {}
  Variant(uint8_t v) : v_(v) {}
  Variant(float v) : v_(v) {}
  Variant(double v) : v_(v) {}
  Variant(bool v) : v_(v) {}
  Variant(std::string v) : v_(std::move(v)) {}
  Variant(const char* v) : v_(std::string(v)) {}
  Variant(std::shared_ptr<Dispatch> v) : v_(std::move(v)) {}
  Variant(std::vector<Variant> v) : v_(std::move(v)) {}

  static Variant Null() { return Variant(NullTag{}); }
  static Variant Missing() { return Variant(MissingTag{}); }
  static Variant Date(double oleDate) { return Variant(DateValue{oleDate}); }

  VarType Type() const;
  bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
  bool IsNull() const { return std::holds_alternative<NullTag>(v_); }
  bool IsMissing() const { return std::holds_alternative<MissingTag>(v_); }
  bool IsObject() const { return std::holds_alternative<std::shared_ptr<Dispatch>>(v_); }
  bool IsArray() const { return std::holds_alternative<std::vector<Variant>>(v_); }
  bool IsString() const { return std::holds_alternative<std::string>(v_); }
  bool IsNumeric() const;

  // CStr, CDbl, CSng, CLng, CInt, CByte, CBool, CDate. Failures raise AutomationError 13
  // (type mismatch), 6 (overflow) or 94 (invalid use of Null).
  std::string ToString() const;
  double ToDouble() const;
  float ToSingle() const;
  int32_t ToLong() const;
  int16_t ToInt() const;
  uint8_t ToByte() const;
  bool ToBool() const;
  double ToDate() const;
  // The object held; Nothing (a null pointer) for an object variant set to Nothing.
  std::shared_ptr<Dispatch> ToObject() const;
  const std::vector<Variant>& ToArray() const;
  std::vector<Variant>& ArrayRef();

 private:
  explicit Variant(NullTag t) : v_(t) {}
  explicit Variant(MissingTag t) : v_(t) {}
  explicit Variant(DateValue d) : v_(d) {}

  std::variant<std::monostate, NullTag, int16_t, int32_t, float, double, DateValue, std::string,
               std::shared_ptr<Dispatch>, MissingTag, bool, uint8_t, std::vector<Variant>>
      v_;
};

using Args = std::vector<Variant>;

}  // namespace zephra::common
