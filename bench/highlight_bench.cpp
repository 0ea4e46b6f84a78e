// Throughput of every highlighter on about 1 MiB of real text: SetText plus
// ConvertToRtf as one refresh does it, and the token walk alone, which shows how
// the time splits between scanning and writing the document.
//   highlight_bench [benchmark flags]
//   highlight_bench --write-sample SYNTAX PATH   writes the input used for SYNTAX
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "bench_inputs.h"
#include "highlighter_factory.h"

namespace {

const char* SampleFile(const std::string& syntax) {
  if (syntax == "HTML") return "big.html";
  if (syntax == "XML") return "big.xml";
  if (syntax == "JAVA SCRIPT") return "big.js";
  if (syntax == "PHP") return "big.php";
  if (syntax == "DELPHI SCRIPT") return "big.pas";
  if (syntax == "SQL") return "big.sql";
  return nullptr;
}

// 1 MiB of VBScript, the same bytes on every run: a procedure with the usual
// statements, repeated with numbered names.
std::string VBScriptSample() {
  std::string text;
  for (int i = 0; text.size() < (1u << 20); ++i) {
    const std::string n = std::to_string(i);
    text += "' Procedure " + n + ": totals and dates\r\n";
    text += "Function Total" + n + "(ByVal items, ByRef count)\r\n";
    text += "  Dim i, sum, name\r\n";
    text += "  sum = 0 : count = 0\r\n";
    text += "  For i = LBound(items) To UBound(items)\r\n";
    text += "    If items(i) <> \"\" And Not IsNull(items(i)) Then\r\n";
    text += "      sum = sum + CDbl(items(i)) * 1.5E2 ' scaled\r\n";
    text += "      count = count + 1\r\n";
    text += "    ElseIf items(i) >= 10 Then\r\n";
    text += "      name = \"Item \"\"" + n + "\"\" of \" & #1/" + std::to_string(1 + i % 28) +
            "/2003#\r\n";
    text += "    End If\r\n";
    text += "  Next\r\n";
    text += "  Total" + n + " = sum\r\n";
    text += "End Function\r\n\r\n";
  }
  text.resize(1u << 20);
  return text;
}

std::string Sample(const std::string& syntax) {
  const char* file = SampleFile(syntax);
  if (file == nullptr) return VBScriptSample();
  return bench_inputs::Load(file);
}

void ReportInput(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

// The stream starts empty, without room, as on the editor's first refresh.
void ConvertToRtf(benchmark::State& state, const std::string& syntax, const std::string& text) {
  std::size_t out = 0;
  std::size_t room = 0;
  for (auto _ : state) {
    HighlighterChoice choice = CreateHighlighter(syntax);
    choice.Highlighter->SetText(text.c_str());
    TMemoryStream stream;
    choice.Highlighter->ConvertToRtf(stream);
    out = stream.Data().size();
    room = stream.Data().capacity();
    benchmark::DoNotOptimize(stream.Data().data());
  }
  ReportInput(state, text.size());
  state.counters["rtf_bytes"] = static_cast<double>(out);
  // What the document holds at its end, as a multiple of the input.
  state.counters["room_x_input"] = static_cast<double>(room) / static_cast<double>(text.size());
}

void ScanOnly(benchmark::State& state, const std::string& syntax, const std::string& text) {
  std::size_t tokens = 0;
  for (auto _ : state) {
    HighlighterChoice choice = CreateHighlighter(syntax);
    TqorRTFSyntax& h = *choice.Highlighter;
    h.SetText(text.c_str());
    tokens = 0;
    while (!h.GetEol()) {
      benchmark::DoNotOptimize(h.GetTokenKind());
      ++tokens;
      h.Next();
    }
  }
  ReportInput(state, text.size());
  state.counters["tokens"] = static_cast<double>(tokens);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--write-sample") == 0) {
    const std::string text = Sample(argv[2]);
    std::ofstream out(argv[3], std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? 0 : 1;
  }
  // Freed memory stays with the process, as in the editor once it has run for
  // a while; otherwise a document's largest token could make every iteration
  // map and fault in fresh pages, depending on what ran before it.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  for (const char* syntax : kSyntaxNames) {
    const std::string text = Sample(syntax);
    if (text.empty()) {
      std::fprintf(stderr, "no input for %s under %s\n", syntax, VEXA_BENCH_DATA_DIR);
      return 1;
    }
    benchmark::RegisterBenchmark((std::string("ConvertToRtf/") + syntax).c_str(), ConvertToRtf,
                                 std::string(syntax), text)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("ScanOnly/") + syntax).c_str(), ScanOnly,
                                 std::string(syntax), text)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
