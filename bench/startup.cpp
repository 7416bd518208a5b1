// Start-up time to the first drawn frame: the game (kelvos_driver, the real start-up with the
// splash scene) beside the smallest program that opens the same window with a GL context,
// clears it and shows it (kelvos_driver --bare). Each iteration starts a fresh process; the
// time is the one the process measures from the start of its main to its first finished frame.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Runs the command and returns the microseconds it printed as "first frame: N us", or -1.
long long firstFrameMicroseconds(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    long long micros = -1;
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        long long value = 0;
        if (std::sscanf(line, "first frame: %lld us", &value) == 1) micros = value;
    }
    const int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return micros;
}

std::string driverCommand(const char* mode) {
#ifdef KELVOS_DRIVER
    char folder[] = "/tmp/kelvos-bench-XXXXXX";
    const char* made = mkdtemp(folder);
    const std::string home = made != nullptr ? made : "/tmp";
    // A fresh data folder each time: the game's first run (profile made and saved) is measured.
    return "XDG_DATA_HOME='" + home + "' SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} '" KELVOS_DRIVER "' " +
           mode + " --frames 1 2>/dev/null; rm -rf '" + home + "'";
#else
    (void)mode;
    return "";
#endif
}

void runStartUp(benchmark::State& state, const char* mode) {
    const std::string command = driverCommand(mode);
    if (command.empty()) {
        state.SkipWithError("built without the driver");
        return;
    }
    for (auto _ : state) {
        const long long micros = firstFrameMicroseconds(command);
        if (micros < 0) {
            state.SkipWithError("the driver failed");
            return;
        }
        state.SetIterationTime(static_cast<double>(micros) / 1e6);
    }
}

void BM_BareWindowFirstFrame(benchmark::State& state) {
    runStartUp(state, "--bare");
}
void BM_GameFirstFrame(benchmark::State& state) {
    runStartUp(state, "");
}

} // namespace

BENCHMARK(BM_BareWindowFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_GameFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
