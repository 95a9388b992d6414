#pragma once
// The reporter every benchmark prints its ratios from.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace kestrund::bench {

// Console output plus the median CPU and real time of every benchmark, for the ratios.
// Ratios use CPU time, because the machine is shared: time spent descheduled says
// nothing about the code. Real time is kept to show how far the two differ.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Median;
    std::map<std::string, double> MedianReal;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                Median[run.run_name.function_name] = run.GetAdjustedCPUTime();
                MedianReal[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
    }
};

} // namespace kestrund::bench
