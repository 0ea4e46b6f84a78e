// The caret's element in the preview: reading the tree of the 1 MiB page (once
// per change of the text), and finding the element of a caret in its middle
// with its path (every caret move), and the way back from a path to the start
// tag (every Ctrl+click).
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "page_tree.h"

namespace {

const std::string& Page() {
  static const std::string page = bench_inputs::Load("big.html");
  return page;
}

void BM_ReadTree(benchmark::State& state) {
  for (auto _ : state) {
    pagetree::TPageTree tree(Page());
    benchmark::DoNotOptimize(tree.ElementCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Page().size()));
}
BENCHMARK(BM_ReadTree)->Unit(benchmark::kMillisecond);

// A caret move with the text unchanged: the tree is kept.
void BM_CaretInTheMiddle(benchmark::State& state) {
  const pagetree::TPageTree tree(Page());
  const int middle = static_cast<int>(Page().size() / 2);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tree.PathOf(tree.ElementAt(middle)));
  }
}
BENCHMARK(BM_CaretInTheMiddle)->Unit(benchmark::kMicrosecond);

// The first caret move after a change: the tree is read again.
void BM_CaretAfterAChange(benchmark::State& state) {
  const int middle = static_cast<int>(Page().size() / 2);
  for (auto _ : state) {
    const pagetree::TPageTree tree(Page());
    benchmark::DoNotOptimize(tree.PathOf(tree.ElementAt(middle)));
  }
}
BENCHMARK(BM_CaretAfterAChange)->Unit(benchmark::kMillisecond);

void BM_ClickBackToTheSource(benchmark::State& state) {
  const pagetree::TPageTree tree(Page());
  const pagetree::TPath path = tree.PathOf(tree.ElementAt(static_cast<int>(Page().size() / 2)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(tree.StartOf(tree.Resolve(path).Element));
  }
}
BENCHMARK(BM_ClickBackToTheSource)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
