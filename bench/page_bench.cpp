// The printed diagram as a file, the way a script makes it: one whole
// brevix-cli process (start-up, Qt's offscreen platform and fonts, reading
// the round brilliant, the page, the PDF) per iteration. Skipped when the
// command line was built without Qt.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// brevix-cli is built beside the bench folder.
fs::path cliPath() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "brevix-cli"; }

int runQuietly(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_CliDiagramPdfOfRoundBrilliant(benchmark::State& state) {
    const fs::path cli = cliPath();
    const fs::path out = fs::temp_directory_path() / ("brevix-bench-" + std::to_string(::getpid()) + ".pdf");
    const std::vector<std::string> args = {
        cli.string(), "diagram", (fs::path(BREVIX_SOURCE_DIR) / "samples" / "round_brilliant.asc").string(),
        out.string()};
    if (!fs::exists(cli) || runQuietly(args) != 0) {
        state.SkipWithError("brevix-cli cannot write diagrams in this build");
        return;
    }
    for (auto _ : state) {
        if (runQuietly(args) != 0) state.SkipWithError("brevix-cli diagram failed");
    }
    fs::remove(out);
}
BENCHMARK(BM_CliDiagramPdfOfRoundBrilliant)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
