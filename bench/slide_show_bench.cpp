// Loading and saving a large generated show in both forms, each beside reading (and writing)
// the same bytes; and offering one host dimension to shows of growing size, beside walking
// the same values once.
// bench-libs: zephra_document zephra_common

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/paths.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "document/dimension_offer.h"
#include "document/slide_show.h"
#include "document/fake_dimension.h"  // tests/document: the counting stand-in for a host dimension

namespace {

using zephra::document::SlideShow;

// slides x icons x values, with results in every value.
std::unique_ptr<SlideShow> MakeShow(int slides, int icons, int values) {
  auto show = std::make_unique<SlideShow>(zephra::document::kMonitorMessages);
  show->SetName("Bench");
  static const char* const kAxes[] = {"X", "Y", "Z", "D"};
  for (int s = 0; s < slides; ++s) {
    auto slide = show->Slides().Add();
    slide->SetPictureFileUnchecked("/pictures/slide" + std::to_string(s) + ".svg");
    for (int i = 0; i < icons; ++i) {
      auto icon = slide->Icons().Add();
      icon->SetFeatureName("LOC" + std::to_string(s * icons + i));
      for (int v = 0; v < values; ++v) {
        auto value = icon->Values().Add();
        value->SetAxisLetter(kAxes[v % 4]);
        value->SetUniqueID(std::to_string(s * icons + i) + "|" + std::to_string(v));
        value->SetNominal(25.0 + v);
        value->SetMeasured(25.0123 + v);
        value->SetDeviation(0.0123);
        value->SetPlusTol(0.05);
        value->SetMinusTol(0.05);
        value->SetTOLERANCE(1);
      }
    }
  }
  return show;
}

struct Files {
  std::string dir, text, binary, scratch;
  Files() {
    char pattern[] = "/tmp/zephra-bench-XXXXXX";
    dir = ::mkdtemp(pattern);
    text = dir + "/large.zep";
    binary = dir + "/large.zpx";
    scratch = dir + "/scratch";
    auto show = MakeShow(100, 40, 4);
    show->SaveToFile(text);
    show->SaveToBinary(binary);
  }
  ~Files() {
    for (const std::string& f : {text, binary, scratch}) std::remove(f.c_str());
    std::remove(dir.c_str());
  }
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

void Setup() {
  zephra::common::SetLanguage(zephra::common::kLanguageEnglish);
  zephra::common::SetPrompts(std::make_shared<zephra::common::ScriptedPrompts>());
}

void Load(benchmark::State& state, const std::string& path) {
  Setup();
  for (auto _ : state) {
    SlideShow show(zephra::document::kMonitorMessages);
    show.LoadFromFile(path);
    benchmark::DoNotOptimize(show.Slides().Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(zephra::common::ReadFileBytes(path, "bench").size()));
}

void ReadBytes(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::string bytes = zephra::common::ReadFileBytes(path, "bench");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(zephra::common::ReadFileBytes(path, "bench").size()));
}

void BM_LoadText(benchmark::State& s) { Load(s, TheFiles().text); }
void BM_LoadText_ReadBytes(benchmark::State& s) { ReadBytes(s, TheFiles().text); }
void BM_LoadBinary(benchmark::State& s) { Load(s, TheFiles().binary); }
void BM_LoadBinary_ReadBytes(benchmark::State& s) { ReadBytes(s, TheFiles().binary); }

void Save(benchmark::State& state, bool binary) {
  Setup();
  SlideShow show(zephra::document::kMonitorMessages);
  show.LoadFromFile(binary ? TheFiles().binary : TheFiles().text);
  for (auto _ : state) {
    if (binary) {
      show.SaveToBinary(TheFiles().scratch);
    } else {
      show.SaveToFile(TheFiles().scratch);
    }
  }
}

// Reference for saving: writing the same bytes the same safe way (temporary file, flush, rename).
void WriteBytes(benchmark::State& state, const std::string& path) {
  const std::string bytes = zephra::common::ReadFileBytes(path, "bench");
  for (auto _ : state) zephra::common::WriteFileAtomically(TheFiles().scratch, bytes);
}

void BM_SaveText(benchmark::State& s) { Save(s, false); }
void BM_SaveText_WriteBytes(benchmark::State& s) { WriteBytes(s, TheFiles().text); }
void BM_SaveBinary(benchmark::State& s) { Save(s, true); }
void BM_SaveBinary_WriteBytes(benchmark::State& s) { WriteBytes(s, TheFiles().binary); }

// Offering one dimension that one icon of the show takes (its first value by key).
void BM_OfferDimension(benchmark::State& state) {
  Setup();
  const int values = static_cast<int>(state.range(0));
  auto show = MakeShow(values / 100, 25, 4);
  auto dim = std::make_shared<zephra::testing::FakeDimension>("X", 25.01, 25.0, 0.05, 0.05);
  dim->Named("LOC7", 1101, 7, 0);
  for (auto _ : state) {
    zephra::document::DimensionOffer offer(dim);
    show->UpdateReport(offer);
  }
  state.counters["values"] = values;
  state.counters["host reads per offer"] =
      static_cast<double>(dim->TotalReads() + dim->command->TotalReads()) / static_cast<double>(state.iterations());
}

// Reference: visiting every value of the same show once and comparing its axis, the least any
// matching of a dimension to values must do.
void BM_OfferDimension_WalkValues(benchmark::State& state) {
  const int values = static_cast<int>(state.range(0));
  auto show = MakeShow(values / 100, 25, 4);
  const std::string axis = "X";
  for (auto _ : state) {
    int matches = 0;
    for (const auto& slide : show->Slides()) {
      for (const auto& icon : slide->Icons()) {
        for (const auto& v : icon->Values()) matches += v->AxisLetter() == axis;
      }
    }
    benchmark::DoNotOptimize(matches);
  }
  state.counters["values"] = values;
}

}  // namespace

BENCHMARK(BM_LoadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadText_ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinary_ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveText_WriteBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBinary_WriteBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OfferDimension)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OfferDimension_WalkValues)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
