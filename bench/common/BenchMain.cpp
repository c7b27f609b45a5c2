// The main of every benchmark program: runs the registered cases and prints BENCH lines,
// pairing "<case>/ours" with "<case>/peer". With --benchmark_repetitions the median is used.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Side {
    double rate = 0;
    bool present = false;
};

struct Case {
    std::string unit;
    Side ours, peer;
};

class BenchLineReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context &) override { return true; }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred) {
                std::fprintf(stderr, "%s: %s\n", run.benchmark_name().c_str(),
                             run.error_message.c_str());
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            const std::string &name = run.run_name.function_name;
            const auto slash = name.rfind('/');
            if (slash == std::string::npos)
                continue;
            const std::string side = name.substr(slash + 1);
            const std::string caseName = name.substr(0, slash);
            auto counter = run.counters.find("rate");
            if (counter == run.counters.end() || (side != "ours" && side != "peer"))
                continue;
            if (!cases_.count(caseName))
                order_.push_back(caseName);
            Case &c = cases_[caseName];
            Side &s = side == "ours" ? c.ours : c.peer;
            if (s.present && !median)
                continue; // keep the median once repetitions have produced one
            s.rate = counter->second.value;
            s.present = true;
            c.unit = run.report_label;
        }
    }

    void Finalize() override
    {
        for (const std::string &name : order_) {
            const Case &c = cases_[name];
            if (!c.ours.present)
                continue;
            if (c.peer.present && c.peer.rate > 0)
                std::printf("BENCH %s ours=%.4g peer=%.4g unit=%s ratio=%.3f\n", name.c_str(),
                            c.ours.rate, c.peer.rate, c.unit.c_str(), c.ours.rate / c.peer.rate);
            else
                std::printf("BENCH %s ours=%.4g peer=- unit=%s ratio=-\n", name.c_str(),
                            c.ours.rate, c.unit.c_str());
        }
        std::fflush(stdout);
    }

private:
    std::vector<std::string> order_;
    std::map<std::string, Case> cases_;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    BenchLineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
