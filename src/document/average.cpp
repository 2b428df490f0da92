#include "average.h"

#include "common/string_res.h"
#include "history.h"

namespace zephra::document {

using common::Variant;

AverageShow ComputeAverage(const ZEPHistory& history, int16_t sampleSize, const MessageProfile& profile) {
  AverageShow result;
  if (sampleSize < 2) {
    result.reason = common::FormatMessage(kMsgAverageSampleTooSmall, {Variant(sampleSize)});
    return result;
  }
  const ZEPHistoryLogCollection& logs = history.HistoryLogs();
  if (logs.Count() < sampleSize) {
    result.reason = common::FormatMessage(kMsgAverageTooFewRuns, {Variant(logs.Count()), Variant(sampleSize)});
    return result;
  }
  try {
    auto average = std::make_unique<SlideShow>(profile);
    const ZEPHistoryLog& newest = *logs.Item(1);
    result.newest = newest.Timestamp();
    average->LoadFromFile(newest.Filename());
    average->InitializeSampleSet(sampleSize);
    for (int32_t i = 1; i <= sampleSize; ++i) {
      const ZEPHistoryLog& log = *logs.Item(i);
      SlideShow run(profile);
      run.LoadFromFile(log.Filename());
      run.CollectSampleSet(*average, log.Filename());
      result.oldest = log.Timestamp();
    }
    average->CalculateAverage();
    result.state = average->WorstTolerance();
    result.show = std::move(average);
  } catch (const common::AutomationError& e) {
    result.state = kNoAverageState;
    result.reason = e.Description();
    result.error = e;
  }
  return result;
}

std::string AverageShowText(SlideShow& average) {
  for (const auto& slide : average.Slides()) {
    for (const auto& icon : slide->Icons()) {
      for (const auto& value : icon->Values()) {
        if (value->IsAverage() && value->SummCount() > 0 && value->Column() == Value::kColumnDeviation) {
          value->SetDeviation(value->CurrentValue().ToDouble());
        }
      }
    }
  }
  return average.ToText();
}

}  // namespace zephra::document
