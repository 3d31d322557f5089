// The order table of 1,000,000 pairs (orders 1 to 10) against one accurate order-10 fit state of
// the same pairs, in the same run: the table may cost at most twice the fit.
#include "BenchSupport.h"
#include "fit/OrderTable.h"

#include <benchmark/benchmark.h>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 1000000;

struct Columns {
    std::vector<double> x, y;
    Columns() {
        for (const CXYdata& p : NoisyParabola(kPairs)) {
            x.push_back(p.m_dX);
            y.push_back(p.m_dY);
        }
    }
};

const Columns& Data() {
    static const Columns columns;
    return columns;
}

void BM_OrderTableBaselineFit(benchmark::State& state) {
    const Columns& d = Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildFitState(d.x, d.y, {}, 10).sse);
}
BENCHMARK(BM_OrderTableBaselineFit)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_OrderTable(benchmark::State& state) {
    const Columns& d = Data();
    for (auto _ : state)
        if (BuildOrderTable(d.x, d.y, {}, "X").rows.size() != 10)
            state.SkipWithError("no table");
}
BENCHMARK(BM_OrderTable)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
