// How the model compile scales: generated models of 100 to 10,000
// instances, each a few small loops of converters, PWM, sinks, a receiver
// and a display whose ports settle by propagation, defaults and dimension
// methods. Time per instance should stay flat.
#include <benchmark/benchmark.h>

#include <string>

#include "tools/zevk/compile.h"

namespace {

using zevk::cli::Model;

// Five instances per group; every kind of settling the compile does
// happens in each group.
std::string generate(int instances) {
    std::string blocks, lines;
    const int groups = instances / 5;
    for (int g = 0; g < groups; ++g) {
        const std::string n = std::to_string(g);
        if (g) {
            blocks += ",\n";
            lines += ",\n";
        }
        blocks += R"({"name": "adc)" + n + R"(", "block": "ZEVK_ADC", "params": ["1e-3", "[]", "[5]", "0", "[3]"]},)"
                  R"({"name": "pwm)" + n + R"(", "block": "ZEVK_TCC_PWM", "params": ["[-7]", "[]", "[3]", "[]", "{}", "1e-3", "0"]},)"
                  R"({"name": "rst)" + n + R"(", "block": "ZEVK_Reset", "params": ["-1"]},)"
                  R"({"name": "rx)" + n + R"(", "block": "ZEVK_UART_Rx", "params": ["1e-3", "1", "-1", "0"]},)"
                  R"({"name": "lcd)" + n + R"(", "block": "ZEVK_Lcd_Output", "params": ["[3 3]", "[]", "[0 0 0 0 0 0 0 0 0 0 -1 0 0 0 0 0 0 0 0 0]", "[]", "{}", "1e-3", "0"]})";
        lines += R"({"from": "adc)" + n + R"(:0", "to": ["pwm)" + n + R"(:0", "rst)" + n + R"(:0"]},)"
                 R"({"from": "rx)" + n + R"(:0", "to": "lcd)" + n + R"(:0"},)"
                 R"({"from": "rx)" + n + R"(:1", "to": "lcd)" + n + R"(:1"})";
    }
    return R"({"name": "bench", "blocks": [)" + blocks + R"(], "lines": [)" + lines + "]}";
}

void BM_ReadModel(benchmark::State& state) {
    const std::string text = generate(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Model m = zevk::cli::parseModel(text, "bench.json");
        benchmark::DoNotOptimize(m.blocks.data());
    }
    state.SetComplexityN(state.range(0));
}

void BM_Compile(benchmark::State& state) {
    const Model m = zevk::cli::parseModel(generate(static_cast<int>(state.range(0))), "bench.json");
    for (auto _ : state) {
        auto compiled = zevk::cli::compileModel(m);
        if (compiled["errors"] != 0) {
            state.SkipWithError("the generated model does not compile clean");
            break;
        }
        benchmark::DoNotOptimize(compiled);
    }
    state.SetComplexityN(state.range(0));
    state.counters["us_per_instance"] = benchmark::Counter(
        static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}

BENCHMARK(BM_ReadModel)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_Compile)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
