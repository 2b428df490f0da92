// One headless part run as `zephra run` follows it (the simulated host paced at 0 ms, the live
// run and the report lines): a generated program of 20 000 dimension lines against a show of
// 10 000 values, beside the same run without a show, which is the host's and the report's share.
// bench-libs: zephra_monitor_live zephra_report_lines zephra_hostsim Qt6::Core

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <cstdlib>
#include <memory>
#include <string>

#include "common/component_registry.h"
#include "common/host_interface.h"
#include "common/paths.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "document/slide_show.h"
#include "hostsim/host_registration.h"
#include "monitor/live/live_run.h"
#include "report/lines/report_lines.h"

namespace {

using zephra::common::Args;
using zephra::common::Dispatch;
using zephra::common::Variant;
namespace h = zephra::common::host;

constexpr int kGroups = 2000;   // location groups: header, X, Y, D, end = 10 000 lines
constexpr int kSingles = 10000;  // single diameters
constexpr int kShownSingles = 4000;  // 2000 x 3 + 4000 = 10 000 values

std::string ProgramText() {
  std::string s = "BLOCK PartProgram\r\n\tPARTNAME=BENCH\r\n\tSEED=1\r\n";
  auto dim = [&](int type, const std::string& id, const char* axis, double nominal) {
    s += "\tBLOCK Dimension\r\n\t\tTYPE=" + std::to_string(type) + "\r\n";
    if (!id.empty()) s += "\t\tID=" + id + "\r\n";
    if (axis) {
      s += std::string("\t\tAXIS=") + axis + "\r\n\t\tNOMINAL=" + std::to_string(nominal) +
           "\r\n\t\tPLUSTOL=0.05\r\n\t\tMINUSTOL=0.05\r\n\t\tSIGMA=0.02\r\n";
    }
    s += "\tEND\r\n";
  };
  for (int g = 0; g < kGroups; ++g) {
    dim(1000, "LOC" + std::to_string(g), nullptr, 0);
    dim(1002, "", "X", 10.0 + g);
    dim(1003, "", "Y", 20.0);
    dim(1005, "", "D", 6.0);
    dim(1001, "", nullptr, 0);
  }
  for (int i = 0; i < kSingles; ++i) dim(1111, "DIA" + std::to_string(i), "D", 8.0);
  return s + "END\r\n";
}

void WriteShow(const std::string& path) {
  zephra::document::SlideShow show(zephra::document::kMonitorMessages);
  show.SetName("Bench");
  int icons = 0;
  auto slide = show.Slides().Add();
  auto add = [&](const std::string& feature, std::initializer_list<const char*> axes) {
    if (icons++ % 100 == 0 && icons > 1) slide = show.Slides().Add();
    auto icon = slide->Icons().Add();
    icon->SetFeatureName(feature);
    for (const char* a : axes) icon->Values().Add()->SetAxisLetter(a);
  };
  for (int g = 0; g < kGroups; ++g) add("LOC" + std::to_string(g), {"X", "Y", "D"});
  for (int i = 0; i < kShownSingles; ++i) add("DIA" + std::to_string(i), {"D"});
  show.SaveToFile(path);
}

struct World {
  std::string dir, program, show;
  std::unique_ptr<QCoreApplication> app;
  std::shared_ptr<Dispatch> host, part;

  World() {
    char pattern[] = "/tmp/zephra-bench-XXXXXX";
    dir = ::mkdtemp(pattern);
    ::setenv("ZEPHRA_HOME", dir.c_str(), 1);
    zephra::common::SetLanguage(zephra::common::kLanguageEnglish);
    static int argc = 1;
    static char name[] = "live_run_bench";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QCoreApplication>(argc, argv);
    program = dir + "/bench.prg";
    zephra::common::WriteFileAtomically(program, ProgramText());
    show = dir + "/bench.zep";
    WriteShow(show);
    zephra::hostsim::RegisterHost();
    host = zephra::common::CreateObject(h::kProgId);
    host->PutByName("ExecutionDelay", Variant(0));
    auto programs = host->Get(h::app::PartPrograms).ToObject();
    part = programs->Call(h::programs::Open, {Variant(program), Variant(std::string(h::kOfflineMachine))}).ToObject();
  }
};

World& TheWorld() {
  static World world;
  return world;
}

// One run from the start event to the end event, followed as `zephra run` follows it.
int32_t RunOnce(World& w, const std::string& show) {
  zephra::report::ReportLines report;
  zephra::monitor::LiveRun live;
  live.SetPartProgram(w.part);
  QEventLoop loop;
  auto sink = std::make_shared<zephra::common::FunctionSink>([&](Dispatch&, zephra::common::DispId event, Args& a) {
    switch (event) {
      case h::part_event::OnStartExecution:
        report.NewReport(*w.part);
        live.SetSlideShowFile(show);
        live.OnStartExecution();
        break;
      case h::part_event::OnObjectExecuted2:
        live.OnObjectExecuted2(*a[0].ToObject());
        report.OnObjectExecuted(*a[0].ToObject(), *w.part);
        break;
      case h::part_event::OnEndExecution:
        live.OnEndExecution(a[0].ToLong());
        loop.quit();
        break;
      default: break;
    }
  });
  const int cookie = w.part->Connect(sink);
  w.part->Call(h::part::Execute);
  loop.exec();
  w.part->Disconnect(cookie);
  return live.WorstState();
}

void BM_RunAgainstShow(benchmark::State& state) {
  World& w = TheWorld();
  for (auto _ : state) benchmark::DoNotOptimize(RunOnce(w, w.show));
  state.counters["dimension lines"] = kGroups * 5 + kSingles;
  state.counters["values"] = kGroups * 3 + kShownSingles;
}

// Reference: the same run without a show, the host's and the report's share of the work.
void BM_RunAgainstShow_NoShow(benchmark::State& state) {
  World& w = TheWorld();
  for (auto _ : state) benchmark::DoNotOptimize(RunOnce(w, ""));
  state.counters["dimension lines"] = kGroups * 5 + kSingles;
}

}  // namespace

BENCHMARK(BM_RunAgainstShow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunAgainstShow_NoShow)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
