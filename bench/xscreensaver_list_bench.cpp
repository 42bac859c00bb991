// The list editor's edits on large ~/.xscreensaver files of two shapes: a
// list of modes of about a million entries, and half a million lines of
// other settings and comments around a short list. The file sizes are the
// benchmark's argument, in MB. The whole tool's time and peak memory on such
// files are measured with scripts/measure-list-editor.sh.
#include <benchmark/benchmark.h>

#include <string>

#include "linux/xscreensaver_list/xscreensaver_list.h"

namespace {

std::string LongList(size_t bytes, bool withRipplume) {
    std::string file =
        "# XScreenSaver Preferences File\ntimeout:\t0:10:00\nmode:\t\tone\nselected:\t5\nprograms:\t\\\n";
    for (size_t n = 0; file.size() < bytes; ++n) {
        file +=
            "  GL: \t\t\t\t\"Mode " + std::to_string(n) + "\" hack" + std::to_string(n) + " --root\t\t\t    \\n\\\n";
        if (withRipplume && n % 1000 == 0) file += "  GL: \t\t\t\tripplume --root\t\t\t    \\n\\\n";
    }
    return file + "\n\npointerHysteresis:\t10\n";
}

std::string ManyLines(size_t bytes) {
    std::string file = "programs:\t\\\n  maze --root \\n\\\n  GL: ripplume --root \\n\\\n  GL: gears --root \\n\\\n\n";
    for (size_t n = 0; file.size() < bytes; ++n) {
        file += "# comment line " + std::to_string(n) + " of a long file, with some words to take up space\n";
        file += "textLiteral: value " + std::to_string(n) + "\n";
    }
    return file;
}

size_t Megabytes(const benchmark::State& state) {
    return size_t(state.range(0)) << 20;
}

void BM_AddToLongList(benchmark::State& state) {
    const std::string file = LongList(Megabytes(state), false);
    for (auto _ : state) benchmark::DoNotOptimize(WithRipplumeListed(file, "").Text.size());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_AddToLongList)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

// One entry of Ripplume in every thousand: a thousand to take off in 50 MB.
void BM_RemoveFromLongList(benchmark::State& state) {
    const std::string file = LongList(Megabytes(state), true);
    for (auto _ : state) benchmark::DoNotOptimize(WithoutRipplume(file).Text.size());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_RemoveFromLongList)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_AddAmongManyLines(benchmark::State& state) {
    const std::string file = ManyLines(Megabytes(state));
    for (auto _ : state) benchmark::DoNotOptimize(WithRipplumeListed(file, "").Text.size());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_AddAmongManyLines)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
