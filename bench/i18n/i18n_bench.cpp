// tr_args of a message with a selector and two arguments, against building the same
// English sentence by hand (the floor). Prints the ratio of the two.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "i18n/i18n.hpp"

namespace {

using files::i18n::MessageArgs;

void BM_TrArgs(benchmark::State& state) {
    files::i18n::set_process_locale(files::i18n::LocaleId{});
    std::int64_t reachable = 3, durable = 2;
    benchmark::DoNotOptimize(files::i18n::tr_args("files-replica-counts", MessageArgs().set("reachable", reachable).set("durable", durable)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(reachable);
        benchmark::DoNotOptimize(durable);
        std::string s =
            files::i18n::tr_args("files-replica-counts", MessageArgs().set("reachable", reachable).set("durable", durable));
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_TrArgs);

void BM_ConcatFloor(benchmark::State& state) {
    std::int64_t reachable = 3, durable = 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reachable);
        benchmark::DoNotOptimize(durable);
        std::string s = std::to_string(reachable) + " reachable, " + std::to_string(durable) + " durable " +
                        (durable == 1 ? "replica" : "replicas");
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_ConcatFloor);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                times_[r.benchmark_name()] = {r.GetAdjustedCPUTime(), r.GetAdjustedRealTime()};
        ConsoleReporter::ReportRuns(runs);
    }
    // CPU and wall time of one iteration; zero when the benchmark did not run.
    std::pair<double, double> time(const std::string& name) const {
        auto it = times_.find(name);
        return it == times_.end() ? std::pair{0.0, 0.0} : it->second;
    }

private:
    std::map<std::string, std::pair<double, double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto [ours_cpu, ours_wall] = reporter.time("BM_TrArgs");
    auto [floor_cpu, floor_wall] = reporter.time("BM_ConcatFloor");
    if (ours_cpu > 0 && floor_cpu > 0 && floor_wall > 0)
        std::printf("tr_args / concatenation floor: %.2f by CPU time, %.2f by wall time (target 15 or less)\n",
                    ours_cpu / floor_cpu, ours_wall / floor_wall);
    benchmark::Shutdown();
}
