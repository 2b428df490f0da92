// The average of a history's newest runs.

#include <gtest/gtest.h>

#include <filesystem>

#include "document/average.h"
#include "document/history.h"
#include "document/slide_show.h"
#include "document_fixture.h"
#include "fake_dimension.h"
#include "support/temp_home.h"

using namespace zephra;
using document::SlideShow;
using document::ZEPHistory;
using zephra::testing::FakeDimension;

namespace {

// A show of one bore: its deviation (format 3, tolerance +-0.01, warning at 80 %) and its
// measured size, which is shown but not judged.
std::unique_ptr<SlideShow> BoreShow() {
  auto show = std::make_unique<SlideShow>(document::kMonitorMessages);
  show->SetName("Bore");
  auto icon = show->Slides().Add()->Icons().Add();
  icon->SetFeatureName("DIA1");
  icon->Values().Add()->SetAxisLetter("D");
  auto measured = icon->Values().Add();
  measured->SetAxisLetter("D");
  measured->SetColumn(document::Value::kColumnMeasured);
  show->MoveNext();
  return show;
}

// Logs one run in which DIA1 deviated by the given amount, or a run that never measured it.
void LogRun(ZEPHistory& h, std::optional<double> deviation) {
  auto show = BoreShow();
  if (deviation) {
    auto d = std::make_shared<FakeDimension>("D", 8.0 + *deviation, 8.0, 0.01, 0.01);
    d->Named("DIA1", 1111, 7, 42);
    show->UpdateReport(d);
  }
  h.HistoryLogs().Append(*show, "Part OK", static_cast<int16_t>(show->WorstTolerance()));
  h.SaveToFile();
}

const document::Value& Deviation(const SlideShow& show) {
  return *show.Slides().Item(1)->Icons().Item(1)->Values().Item(1);
}

}  // namespace

class Average : public zephra::testing::DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    int16_t max = 10;
    ASSERT_TRUE(history.Initialize({}, dir.Path(), "", max));
  }
  zephra::testing::TempDir dir;
  ZEPHistory history;
};

TEST_F(Average, TheNewestRunsAreAveragedAndTheMeanIsJudged) {
  for (double d : {0.5, 0.008, 0.009, 0.010}) LogRun(history, d);  // 0.5 is the oldest
  auto avg = document::ComputeAverage(history, 3);
  ASSERT_TRUE(avg) << avg.reason;
  const auto& v = Deviation(*avg.show);
  EXPECT_TRUE(v.IsAverage());
  EXPECT_EQ(v.SummCount(), 3);
  EXPECT_DOUBLE_EQ(v.CurrentValue().ToDouble(), 0.009);
  EXPECT_EQ(v.TOLERANCE(), 3);  // above the warning limit 0.008
  EXPECT_EQ(avg.state, 2);      // folded
  EXPECT_EQ(avg.newest, history.HistoryLogs().Item(1)->Timestamp());
  EXPECT_EQ(avg.oldest, history.HistoryLogs().Item(3)->Timestamp());
  EXPECT_EQ(v.LogCount(), 3);
  EXPECT_EQ(v.LogItem(3), history.HistoryLogs().Item(3)->Filename());

  // Four runs take in the bad one.
  auto four = document::ComputeAverage(history, 4);
  ASSERT_TRUE(four);
  EXPECT_DOUBLE_EQ(Deviation(*four.show).CurrentValue().ToDouble(), 0.1318);  // the icon shows 4 decimals
  EXPECT_EQ(four.state, 5);

  // The text form carries the average in the deviation.
  const std::string text = document::AverageShowText(*avg.show);
  EXPECT_NE(text.find("\t\t\t\tVALUE=DOUBLE|0.009\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\t\t\t\tDEVIATION=0.009\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\t\t\t\tTOLERANCE=3\r\n"), std::string::npos) << text;
}

TEST_F(Average, ARunThatNeverMeasuredAValueLeavesItsAverageEmpty) {
  for (auto d : {std::optional<double>(0.001), std::optional<double>(), std::optional<double>(0.003)}) {
    LogRun(history, d);
  }
  auto avg = document::ComputeAverage(history, 3);
  ASSERT_TRUE(avg);
  const auto& v = Deviation(*avg.show);
  EXPECT_EQ(v.SummCount(), 2);
  EXPECT_DOUBLE_EQ(v.CurrentValue().ToDouble(), 0.002);
  EXPECT_EQ(v.TOLERANCE(), 0);
  EXPECT_EQ(avg.state, 0);
}

TEST_F(Average, ThereIsNoAverageWithTooFewRunsATooSmallSampleOrAnUnreadableRun) {
  for (double d : {0.001, 0.002}) LogRun(history, d);
  auto few = document::ComputeAverage(history, 3);
  EXPECT_FALSE(few);
  EXPECT_EQ(few.state, document::kNoAverageState);
  EXPECT_EQ(few.reason, "The history holds 2 runs; an average of 3 runs needs at least that many.");
  EXPECT_FALSE(few.error);

  auto one = document::ComputeAverage(history, 1);
  EXPECT_FALSE(one);
  EXPECT_EQ(one.reason, "An average needs a sample size of at least 2, not 1.");

  std::filesystem::remove(history.HistoryLogs().Item(2)->Filename());
  auto broken = document::ComputeAverage(history, 2);
  EXPECT_FALSE(broken);
  EXPECT_EQ(broken.state, document::kNoAverageState);
  ASSERT_TRUE(broken.error);
  EXPECT_EQ(broken.error->Number(), 53);
}
