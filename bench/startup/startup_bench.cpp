// Start-up to the first painted table, in a fresh process each time, beside a minimal Qt
// window of the same make-up. Needs a display (run under Xvfb).
#include "../cpu_model.h"
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string programDir;

struct Run {
    double secondsToPaint = -1;
    long peakKb = -1;
};

// Starts the program, times it until it reports its first paint, then lets it end and
// reads its peak resident memory.
Run RunOnce(const std::string& program) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        setenv("ZORVO_QUIT_AFTER_FIRST_PAINT", "1", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    Run run;
    char buffer[64];
    if (read(fds[0], buffer, sizeof buffer) > 0)
        run.secondsToPaint =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    close(fds[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    run.peakKb = usage.ru_maxrss;
    return run;
}

void Measure(benchmark::State& state, const char* name) {
    const std::string program = programDir + "/" + name;
    long peak = 0;
    for (auto _ : state) {
        const Run run = RunOnce(program);
        if (run.peakKb < 0 || run.secondsToPaint < 0) {
            state.SkipWithError("the program did not start and end cleanly (is DISPLAY set?)");
            return;
        }
        state.SetIterationTime(run.secondsToPaint);
        peak = std::max(peak, run.peakKb);
    }
    state.counters["peak_rss_MB"] = static_cast<double>(peak) / 1024.0;
}

// The peak resident memory of a running process, in kB (-1 if it cannot be read).
long PeakKb(pid_t pid) {
    FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    long kb = -1;
    if (!f) return kb;
    char line[256];
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(f);
    return kb;
}

// The game left alone for ten seconds with the portrait blinking: the share of one core it
// used, and its peak memory once the audio library has been loaded as well.
void BM_IdleCpuTenSeconds(benchmark::State& state) {
    const std::string program = programDir + "/zorvo";
    double percent = 0;
    long peak = -1;
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        sleep(2); // start-up is not idling
        auto cpuTicks = [pid] {
            FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
            unsigned long user = 0, system = 0;
            int fields = 0;
            if (f) {
                // Fields 14 and 15 are user and system time; the name in field 2 has no spaces
                // here.
                fields =
                    std::fscanf(f, "%*d %*s %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu",
                                &user, &system);
                std::fclose(f);
            }
            return fields == 2 ? std::optional(user + system) : std::nullopt;
        };
        const std::optional<unsigned long> before = cpuTicks();
        sleep(10);
        const std::optional<unsigned long> after = cpuTicks();
        peak = PeakKb(pid);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        if (!before || !after) {
            state.SkipWithError("the program's CPU times could not be read (did it end early?)");
            break;
        }
        percent = 100.0 * static_cast<double>(*after - *before) /
                  static_cast<double>(sysconf(_SC_CLK_TCK)) / 10.0;
    }
    state.counters["cpu_percent"] = percent;
    state.counters["peak_rss_MB"] = static_cast<double>(peak) / 1024.0;
}

void BM_StartupMinimalQtWindow(benchmark::State& s) {
    Measure(s, "minimal_window");
}
void BM_StartupGame(benchmark::State& s) {
    Measure(s, "zorvo");
}
BENCHMARK(BM_StartupMinimalQtWindow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseManualTime();
BENCHMARK(BM_StartupGame)->Unit(benchmark::kMillisecond)->Iterations(10)->UseManualTime();
BENCHMARK(BM_IdleCpuTenSeconds)->Unit(benchmark::kSecond)->Iterations(1);
} // namespace

int main(int argc, char** argv) {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    programDir = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string(argv[0]);
    programDir = programDir.substr(0, programDir.find_last_of('/'));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
