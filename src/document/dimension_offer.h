#pragma once
// One executed host dimension as the slide show's values see it. Every value of the show is
// offered the dimension in turn, and most of them need the same few facts: its unique key, its
// axis code, its feature name, its numbers. Host calls are the expensive part of a live run, so
// each fact is read from the host at most once, by the first value that needs it, and the
// values after it reuse what was read. A host error still surfaces at the first value that
// needs the fact, just as if every value read for itself.
//
// The host is reached only by dispatch number (common/host_interface.h).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/dispatch.h"

namespace zephra::document {

class DimensionOffer {
 public:
  struct Numbers {
    double measured = 0;
    double nominal = 0;
    double plusTol = 0;
    double minusTol = 0;
    double deviation = 0;
    double outTol = 0;
    double angle = 0;
    double bonus = 0;
    double devAngle = 0;
    double length = 0;
    double max = 0;
    double min = 0;
    std::string feat1;
  };

  explicit DimensionOffer(std::shared_ptr<common::Dispatch> dimension);

  // The identity query of the dimension's command: "FIRST|SECOND" in decimal.
  const std::string& UniqueKey();
  // The dimension's axis code.
  const std::string& AxisLetter();
  // The name a value's icon must carry: the command's ID text, or for an axis of a location or
  // true-position group the ID of the group's header command, found by stepping the command
  // cursor (and stepping it back afterwards).
  const std::string& FeatureName();
  bool InLocationGroup();
  bool InTruePositionGroup();
  // The measured numbers and Feat1.
  const Numbers& Results();
  // The type number of the dimension's command.
  int32_t CommandType();
  // The host's member 26, which decides whether an M axis is two-sided.
  int32_t M26();

  common::Dispatch& Dimension() { return *dimension_; }

 private:
  common::Dispatch& Command();

  std::shared_ptr<common::Dispatch> dimension_;
  std::shared_ptr<common::Dispatch> command_;
  std::optional<std::string> uniqueKey_;
  std::optional<std::string> axis_;
  std::optional<std::string> featureName_;
  std::optional<bool> inLocation_;
  std::optional<bool> inTruePosition_;
  std::optional<Numbers> numbers_;
  std::optional<int32_t> commandType_;
  std::optional<int32_t> m26_;
};

}  // namespace zephra::document
