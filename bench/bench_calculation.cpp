// Times CalculateValues for 1 µm and 5800 K against the same series written
// with no fault tests at all, and prints the ratio of the two.

#include "calc/calculation.h"
#include "runtime/error.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// Read through volatile so that the compiler cannot see the inputs.
volatile double g_wavelength = 1.0;
volatile double g_temperature = 5800.0;
const std::u16string g_wavelengthText = u"1";
const std::u16string g_temperatureText = u"5800";

double seriesWithoutFaultTests(double T, double L)
{
    const double C2 = 14387.96;
    const double PI = 3.14159265359;
    const double z = C2 / (T * L);
    double sum = 0.0;
    for (std::int16_t n = 1; n <= 100; ++n) {
        const double nHat = n;
        const double a = (std::pow(z, 2.0) * 3.0) / nHat;
        const double b = std::pow(z, 3.0) + a;
        const double c = z * 6.0;
        const double d = c / std::pow(nHat, 2.0) + b;
        const double p = 6.0 / std::pow(nHat, 3.0) + d;
        const double x = (-nHat) * z;
        sum = (std::exp(x) / nHat) * p + sum;
    }
    return (sum * 15.0) / std::pow(PI, 4.0);
}

double g_plainSeconds = 0;
double g_checkedSeconds = 0;

void BM_SeriesWithoutFaultTests(benchmark::State &state)
{
    double F = 0;
    for (auto _ : state) {
        F = seriesWithoutFaultTests(g_temperature, g_wavelength);
        benchmark::DoNotOptimize(F);
    }
    if (F != 0.72012419788325499)
        state.SkipWithError("the reference series did not give the expected F");
}

void BM_CalculateValues(benchmark::State &state)
{
    calc::CalculationState s;
    calc::ResultTexts texts;
    try {
        for (auto _ : state) {
            texts = calc::CalculateValues(s, g_temperatureText, g_wavelengthText);
            benchmark::DoNotOptimize(texts);
        }
    } catch (const runtime::Error &error) {
        state.SkipWithError(error.what());
        return;
    }
    if (texts.fraction != u"0.7201" || texts.product != u"5800" || s.F != 0.72012419788325499)
        state.SkipWithError("CalculateValues did not complete with the expected result");
}

BENCHMARK(BM_SeriesWithoutFaultTests);
BENCHMARK(BM_CalculateValues);

// Collects the per-iteration times to print their ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                m_failed = true;
            // A single run, or the median of repetitions.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            const double perIteration = run.GetAdjustedRealTime();
            if (run.benchmark_name().find("BM_SeriesWithoutFaultTests") == 0)
                g_plainSeconds = perIteration;
            else if (run.benchmark_name().find("BM_CalculateValues") == 0)
                g_checkedSeconds = perIteration;
        }
    }
    bool failed() const { return m_failed; }

private:
    bool m_failed = false;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (g_plainSeconds > 0 && g_checkedSeconds > 0)
        std::printf("CalculateValues / series without fault tests: %.2f\n", g_checkedSeconds / g_plainSeconds);
    return reporter.failed() ? 1 : 0;
}
