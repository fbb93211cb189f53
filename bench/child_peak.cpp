// The bench started afresh as a small intermediate: posix_spawn of /proc/self/exe with a pipe
// for its one line, and the intermediate's fork, exec and wait4.
#include "bench/child_peak.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace vorel {

namespace {

bool exitsWithSuccess(pid_t pid, rusage& usage) {
    int status = 0;
    return wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string readAll(int descriptor) {
    std::string text;
    char buffer[64];
    for (ssize_t got; (got = read(descriptor, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    return text;
}

}  // namespace

int reportChildPeak(char** words) {
    const pid_t pid = fork();
    if (pid < 0) return 1;
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, 1);
        execv(words[0], words);
        _exit(127);
    }
    rusage usage{};
    if (!exitsWithSuccess(pid, usage)) return 1;
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

long peakKilobytesOfRun(const std::vector<std::string>& words) {
    std::vector<std::string> copies = {"/proc/self/exe", ChildPeakOption};
    copies.insert(copies.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& word : copies) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    int ends[2];
    if (pipe(ends) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    const std::string line = spawned == 0 ? readAll(ends[0]) : std::string();
    close(ends[0]);
    rusage usage{};
    if (spawned != 0 || !exitsWithSuccess(pid, usage)) return -1;
    return std::strtol(line.c_str(), nullptr, 10);
}

}  // namespace vorel
