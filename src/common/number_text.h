#pragma once
// Numbers and dates as text, independent of the locale: what files and settings hold.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zephra::common {

// A double as the suite writes it: 15 significant digits, exponent with a sign and at least two
// digits ("0.8", "25.012", "1E-05", "1.5E+20").
std::string FormatDouble(double value);
// A single-precision number with 7 significant digits, same form.
std::string FormatSingle(float value);
// A fixed number of decimals with "." ("0.0000" display formats), rounded half away from zero.
std::string FormatFixed(double value, int decimals);

// Blanks around, an optional sign, digits with an optional "." and an optional exponent, or
// "&H" followed by hexadecimal digits (a 32-bit two's complement integer). Nothing else.
std::optional<double> ParseNumber(std::string_view text);

// Half to even, as the platform rounds when a number becomes an integer.
double RoundHalfEven(double value);

// Date-times are day counts from 1899-12-30 with the time of day as the fraction (local time).
struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

double DateFromParts(const DateParts& parts);
DateParts DateToParts(double date);
// "2026-12-11 10:06:16"; a date without a time of day is written without it, a time on day zero
// without the date.
std::string FormatDateTime(double date);
// ISO 8601 ("2026-12-11 10:06:16", "T" accepted too) and the US general form
// ("12/11/2026 10:06:16 AM"); the time is optional in both.
std::optional<double> ParseDateTime(std::string_view text);
// The current local date and time.
double Now();

}  // namespace zephra::common
