// Tokenising a large block file beside reading the same bytes line by line.
// bench-libs: zephra_document zephra_common

#include <benchmark/benchmark.h>

#include <string>

#include "common/string_res.h"
#include "document/block_parser.h"

namespace {

std::string MakeShowText(int slides, int icons, int values) {
  std::string s = "BLOCK SlideShow Bench\r\n\tNAME=Bench\r\n";
  for (int sl = 0; sl < slides; ++sl) {
    s += "\tBLOCK Slide S" + std::to_string(sl) + "\r\n\t\tNAME=Slide " + std::to_string(sl) + "\r\n";
    for (int i = 0; i < icons; ++i) {
      s += "\t\tBLOCK Icon\r\n\t\t\tFEATURENAME=LOC" + std::to_string(i) + "\r\n\t\t\tLEFT=100\r\n";
      for (int v = 0; v < values; ++v) {
        s += "\t\t\tBLOCK Value\r\n\t\t\t\tAXISLETTER=X\r\n\t\t\t\tNOMINAL=25.012\r\n\t\t\t\tPLUSTOL=0.05\r\n\t\t\tEND\r\n";
      }
      s += "\t\tEND\r\n";
    }
    s += "\tEND\r\n";
  }
  return s + "END\r\n";
}

const std::string& Text() {
  static const std::string text = MakeShowText(100, 40, 4);
  return text;
}

void BM_Tokenise(benchmark::State& state) {
  zephra::common::SetLanguage(1033);
  for (auto _ : state) {
    zephra::document::BlockParser p;
    p.OpenText(Text());
    int n = 0;
    while (p.GetToken() != zephra::document::BlockParser::TokenEndFile) ++n;
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

// Reference: splitting the same bytes into lines, the least any line reader must do.
void BM_SplitLines(benchmark::State& state) {
  for (auto _ : state) {
    const std::string& t = Text();
    size_t lines = 0;
    for (char c : t) lines += c == '\n';
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

}  // namespace

BENCHMARK(BM_Tokenise);
BENCHMARK(BM_SplitLines);
BENCHMARK_MAIN();
