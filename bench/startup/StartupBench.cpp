// Prints the time from process start to the sizing program's main window on the screen, and
// the program's peak memory, beside the same figures of a bare wx frame measured in the same
// run: 5 runs each after a warm-up, median and range. The program runs from a folder of its own
// with the shipped database and closes itself once the main window shows
// (ZEPHRIN_EXIT_AFTER_SHOW). Targets: under 0.5 s, within 1.5 x the bare frame's time, and at
// most 30 MiB above its peak memory. Needs a display (xvfb-run).
//   startup_bench [folder of Zephrin, Zephrin.db, Zephrin.cfg and startup_bare_frame]
//   (default: the folder of this program)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct SRun {
    double seconds;
    double peakMiB;
};

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool Copy(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
    return in.good() && out.good();
}

// False when the program could not be started or did not end well.
bool RunOnce(const std::string& program, SRun& run)
{
    std::vector<std::string> variables = {"ZEPHRIN_EXIT_AFTER_SHOW=1"};
    std::vector<char*> environment;
    for (std::string& variable : variables)
        environment.push_back(variable.data());
    for (char** entry = environ; *entry; ++entry)
        environment.push_back(*entry);
    environment.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environment.data()) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return false;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMiB = usage.ru_maxrss / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct SFigures {
    double medianSeconds, minSeconds, maxSeconds;
    double medianMiB, minMiB, maxMiB;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

SFigures Summarise(const std::vector<SRun>& runs)
{
    std::vector<double> seconds, mib;
    for (const SRun& run : runs) {
        seconds.push_back(run.seconds);
        mib.push_back(run.peakMiB);
    }
    return {Median(seconds), *std::min_element(seconds.begin(), seconds.end()),
            *std::max_element(seconds.begin(), seconds.end()), Median(mib),
            *std::min_element(mib.begin(), mib.end()), *std::max_element(mib.begin(), mib.end())};
}

void Print(const char* name, const SFigures& f)
{
    std::printf("%-12s %8.3f s  (%.3f-%.3f)   %7.1f MiB  (%.1f-%.1f)\n", name, f.medianSeconds, f.minSeconds,
                f.maxSeconds, f.medianMiB, f.minMiB, f.maxMiB);
}

}  // namespace

int main(int argc, char** argv)
{
    constexpr int kRuns = 5;
    const std::string source = argc > 1 ? argv[1] : FolderOf(argv[0]);
    char folderTemplate[] = "/tmp/startup_bench.XXXXXX";
    if (!::mkdtemp(folderTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = folderTemplate;
    const std::string program = folder + "/Zephrin";
    const std::string bare = source + "/startup_bare_frame";
    bool ready = true;
    for (const char* file : {"Zephrin", "Zephrin.db", "Zephrin.cfg"})
        ready = Copy(source + "/" + file, folder + "/" + file) && ready;
    ready = ready && ::chmod(program.c_str(), 0755) == 0;
    // The instance check's files stay in the benchmark's folder.
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);

    std::vector<SRun> programRuns, bareRuns;
    SRun run{};
    // Warm-up: file cache, fontconfig cache.
    ready = ready && RunOnce(bare, run) && RunOnce(program, run);
    for (int i = 0; ready && i < kRuns; ++i) {
        ready = RunOnce(bare, run);
        bareRuns.push_back(run);
        ready = ready && RunOnce(program, run);
        programRuns.push_back(run);
    }
    std::system(("rm -rf '" + folder + "'").c_str());
    if (!ready) {
        std::fprintf(stderr, "a run failed (is there a display? are Zephrin, Zephrin.db, Zephrin.cfg and "
                             "startup_bare_frame in %s?)\n",
                     source.c_str());
        return 1;
    }

    const SFigures zephrin = Summarise(programRuns);
    const SFigures floor = Summarise(bareRuns);
    std::printf("Start-up to the main window, %d runs, median (range)\n", kRuns);
    Print("Zephrin", zephrin);
    Print("bare frame", floor);
    const double ratio = zephrin.medianSeconds / floor.medianSeconds;
    const double extra = zephrin.medianMiB - floor.medianMiB;
    std::printf("time %.3f s (target < 0.5 s: %s), %.2f x the bare frame (target <= 1.5: %s)\n", zephrin.medianSeconds,
                zephrin.medianSeconds < 0.5 ? "met" : "MISSED", ratio, ratio <= 1.5 ? "met" : "MISSED");
    std::printf("memory %+.1f MiB above the bare frame (target <= 30: %s)\n", extra, extra <= 30 ? "met" : "MISSED");
    return 0;
}
