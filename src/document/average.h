#pragma once
// The average of a part's newest runs: the newest run's slide show, every value of which
// collects the shown numbers of the same value in each of the n newest run files and shows
// their mean, classified against its tolerances once all n samples are in.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/automation_error.h"
#include "slide_show.h"

namespace zephra::document {

class ZEPHistory;

// The state of the average when there is none (drawn grey).
inline constexpr int32_t kNoAverageState = 8;
// Why there is no average (the monitor's range).
inline constexpr int32_t kMsgAverageTooFewRuns = 30640;    // (runs held, runs needed)
inline constexpr int32_t kMsgAverageSampleTooSmall = 30641;  // (sample size)

struct AverageShow {
  // The average show; null when there is no average.
  std::unique_ptr<SlideShow> show;
  // Its worst tolerance state, or kNoAverageState.
  int32_t state = kNoAverageState;
  // The timestamps of the oldest and the newest run averaged.
  double oldest = 0;
  double newest = 0;
  // Without an average: why (a text for people), and the error when one ended the work (a run
  // file that cannot be read); the monitor shows that error, a missing run count is no error.
  std::string reason;
  std::optional<common::AutomationError> error;

  explicit operator bool() const { return show != nullptr; }
};

// The average of the sampleSize newest runs of the history. Fails (no show) when the sample
// size is below 2, when the history holds fewer runs, or when a run file cannot be read.
AverageShow ComputeAverage(const ZEPHistory& history, int16_t sampleSize,
                           const MessageProfile& profile = kMonitorMessages);

// The text form of an average show with each averaged value's deviation set to its average.
// The text form writes the number of a value's column rather than the number it shows, so
// without this the averages would not appear in it.
std::string AverageShowText(SlideShow& average);

}  // namespace zephra::document
