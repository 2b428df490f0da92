#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "text.h"

namespace zephra::common {

namespace {

std::string FormatGeneral(double value, int precision) {
  if (value == 0.0) return "0";
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
  std::string out(buf, res.ptr);
  for (char& c : out) {
    if (c == 'e') c = 'E';
  }
  return out;
}

}  // namespace

std::string FormatDouble(double value) { return FormatGeneral(value, 15); }

std::string FormatSingle(float value) { return FormatGeneral(static_cast<double>(value), 7); }

std::string FormatFixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(value)) return FormatDouble(value);
  // Round on the shortest decimal text of the value, so 0.00005 shows as 0.0001 the way a person
  // reading the number expects, not as the binary neighbour below it.
  char shortest[64];
  auto res = std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific);
  std::string sci(shortest, res.ptr);
  const bool negative = !sci.empty() && sci[0] == '-';
  if (negative) sci.erase(0, 1);
  const size_t ePos = sci.find('e');
  std::string mantissa = sci.substr(0, ePos);
  const int exponent = std::stoi(sci.substr(ePos + 1));
  std::string digits;
  for (char c : mantissa) {
    if (c != '.') digits.push_back(c);
  }
  // value = 0.digits * 10^(exponent + 1)
  int pointPos = exponent + 1;
  if (pointPos < 0) {
    digits.insert(0, static_cast<size_t>(-pointPos), '0');
    pointPos = 0;
  }
  if (static_cast<int>(digits.size()) < pointPos + decimals + 1) {
    digits.append(static_cast<size_t>(pointPos + decimals + 1 - static_cast<int>(digits.size())), '0');
  }
  const int keep = pointPos + decimals;
  const bool roundUp = digits[static_cast<size_t>(keep)] >= '5';
  digits.resize(static_cast<size_t>(keep));
  if (roundUp) {
    int i = keep - 1;
    while (i >= 0) {
      if (digits[static_cast<size_t>(i)] == '9') {
        digits[static_cast<size_t>(i)] = '0';
        --i;
      } else {
        ++digits[static_cast<size_t>(i)];
        break;
      }
    }
    if (i < 0) {
      digits.insert(digits.begin(), '1');
      ++pointPos;
    }
  }
  std::string intPart = digits.substr(0, static_cast<size_t>(pointPos));
  std::string fracPart = digits.substr(static_cast<size_t>(pointPos));
  size_t nz = intPart.find_first_not_of('0');
  intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
  std::string out;
  const bool allZero = intPart == "0" && fracPart.find_first_not_of('0') == std::string::npos;
  if (negative && !allZero) out.push_back('-');
  out += intPart;
  if (decimals > 0) {
    out.push_back('.');
    out += fracPart;
  }
  return out;
}

std::optional<double> ParseNumber(std::string_view text) {
  std::string_view t = TrimWhite(text);
  if (t.empty()) return std::nullopt;
  if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
    std::string_view hex = t.substr(2);
    if (hex.empty() || hex.size() > 8) return std::nullopt;
    uint32_t v = 0;
    auto res = std::from_chars(hex.data(), hex.data() + hex.size(), v, 16);
    if (res.ec != std::errc() || res.ptr != hex.data() + hex.size()) return std::nullopt;
    if (hex.size() <= 4) return static_cast<double>(static_cast<int16_t>(v));
    return static_cast<double>(static_cast<int32_t>(v));
  }
  size_t i = 0;
  bool negative = false;
  if (t[i] == '+' || t[i] == '-') {
    negative = t[i] == '-';
    ++i;
  }
  const size_t start = i;
  size_t digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  double v = 0;
  auto res = std::from_chars(t.data() + start, t.data() + t.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: the platform reports overflow as a mismatch here too.
    return std::nullopt;
  }
  if (res.ec != std::errc() || res.ptr != t.data() + t.size()) return std::nullopt;
  return negative ? -v : v;
}

double RoundHalfEven(double value) {
  const double r = std::round(value);
  if (std::fabs(value - std::trunc(value)) == 0.5) {
    // Exactly half way: take the even neighbour.
    return 2.0 * std::round(value / 2.0);
  }
  return r;
}

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

constexpr int64_t kOleEpochDays = 25569;  // 1899-12-30 .. 1970-01-01

bool ValidDate(int y, int m, int d) {
  if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int maxDay = kDays[m - 1];
  if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) maxDay = 29;
  return d <= maxDay;
}

bool ReadInt(std::string_view s, size_t& i, int& out, size_t maxDigits) {
  size_t n = 0;
  int v = 0;
  while (i < s.size() && n < maxDigits && s[i] >= '0' && s[i] <= '9') {
    v = v * 10 + (s[i] - '0');
    ++i;
    ++n;
  }
  if (n == 0) return false;
  out = v;
  return true;
}

// "HH:MM[:SS] [AM|PM]" from position i to the end.
bool ParseTime(std::string_view s, size_t i, bool allowAmPm, int& h, int& mi, int& se) {
  se = 0;
  if (!ReadInt(s, i, h, 2)) return false;
  if (i >= s.size() || s[i] != ':') return false;
  ++i;
  if (!ReadInt(s, i, mi, 2)) return false;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (!ReadInt(s, i, se, 2)) return false;
  }
  std::string_view rest = TrimSpaces(s.substr(i));
  if (!rest.empty()) {
    if (!allowAmPm) return false;
    const bool pm = EqualsNoCase(rest, "PM");
    if (!pm && !EqualsNoCase(rest, "AM")) return false;
    if (h < 1 || h > 12) return false;
    if (pm && h != 12) h += 12;
    if (!pm && h == 12) h = 0;
  }
  return h < 24 && mi < 60 && se < 60;
}

}  // namespace

double DateFromParts(const DateParts& p) {
  const int64_t days = DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) + kOleEpochDays;
  const double fraction = (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
  return static_cast<double>(days) + fraction;
}

DateParts DateToParts(double date) {
  DateParts p;
  double days = std::floor(date);
  int64_t secs = static_cast<int64_t>(std::llround((date - days) * 86400.0));
  if (secs >= 86400) {
    secs -= 86400;
    days += 1;
  }
  CivilFromDays(static_cast<int64_t>(days) - kOleEpochDays, p.year, p.month, p.day);
  p.hour = static_cast<int>(secs / 3600);
  p.minute = static_cast<int>((secs / 60) % 60);
  p.second = static_cast<int>(secs % 60);
  return p;
}

std::string FormatDateTime(double date) {
  const DateParts p = DateToParts(date);
  char buf[48];
  const bool hasTime = p.hour || p.minute || p.second;
  const bool dayZero = std::floor(date) == 0.0;
  if (dayZero && hasTime) {
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  } else if (!hasTime) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
  } else {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                  p.minute, p.second);
  }
  return buf;
}

std::optional<double> ParseDateTime(std::string_view text) {
  std::string_view s = TrimSpaces(text);
  if (s.empty()) return std::nullopt;
  DateParts p;
  size_t i = 0;
  size_t timeStart = std::string_view::npos;
  bool us = false;
  int a = 0, b = 0, c = 0;
  if (!ReadInt(s, i, a, 4)) return std::nullopt;
  if (i < s.size() && s[i] == '-') {
    ++i;
    if (!ReadInt(s, i, b, 2) || i >= s.size() || s[i] != '-') return std::nullopt;
    ++i;
    if (!ReadInt(s, i, c, 2)) return std::nullopt;
    p.year = a, p.month = b, p.day = c;
  } else if (i < s.size() && s[i] == '/') {
    ++i;
    if (!ReadInt(s, i, b, 2) || i >= s.size() || s[i] != '/') return std::nullopt;
    ++i;
    if (!ReadInt(s, i, c, 4)) return std::nullopt;
    p.month = a, p.day = b, p.year = c;
    us = true;
  } else if (i < s.size() && s[i] == ':') {
    // A time alone belongs to day zero.
    int h, mi, se;
    if (!ParseTime(s, 0, true, h, mi, se)) return std::nullopt;
    return (h * 3600 + mi * 60 + se) / 86400.0;
  } else {
    return std::nullopt;
  }
  if (!ValidDate(p.year, p.month, p.day)) return std::nullopt;
  if (i < s.size()) {
    if (s[i] != ' ' && !(s[i] == 'T' && !us)) return std::nullopt;
    ++i;
    while (i < s.size() && s[i] == ' ') ++i;
    timeStart = i;
  }
  if (timeStart != std::string_view::npos) {
    if (!ParseTime(s, timeStart, us, p.hour, p.minute, p.second)) return std::nullopt;
  }
  return DateFromParts(p);
}

double Now() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  DateParts p{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  return DateFromParts(p);
}

}  // namespace zephra::common
