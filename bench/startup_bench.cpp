// The program's start-up to the title, headless: pinwhirl started by script, closed after its
// first frame, timed from the start of the process to its end. Run from the folder that holds
// data/.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string WriteScript()
{
    char path[] = "/tmp/pinwhirl-startup-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return "";
    const char text[] = "frame 1 close\n";
    const bool written = write(fd, text, sizeof(text) - 1) == ssize_t(sizeof(text) - 1);
    close(fd);
    return written ? path : "";
}

void BM_StartupToTitle(benchmark::State& state)
{
    const std::string script = WriteScript();
    if (script.empty()) {
        state.SkipWithError("no script file");
        return;
    }
    std::vector<std::string> variables = {"PINWHIRL_SCRIPT=" + script, "SDL_VIDEODRIVER=offscreen",
                                          "SDL_AUDIODRIVER=dummy"};
    for (char** e = environ; *e != nullptr; ++e) variables.push_back(*e);
    std::vector<char*> envp;
    for (std::string& v : variables) envp.push_back(&v[0]);
    envp.push_back(nullptr);
    char program[] = PINWHIRL_EXE;
    char* argv[] = {program, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program, &actions, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("pinwhirl could not be started");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("pinwhirl did not end well");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    unlink(script.c_str());
}
BENCHMARK(BM_StartupToTitle)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5.0);

}  // namespace
