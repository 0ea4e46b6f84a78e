// command_cpu: the CPU time (user + system) one run of a command costs, as the
// median over several runs. Each run is started with posix_spawn, which does
// not copy the caller, so the figure is the command's own: starting it, its
// work and its exit, and none of the launcher's. Standard output goes to
// /dev/null.
//   command_cpu RUNS COMMAND [ARGUMENTS...]     prints milliseconds, e.g. "3.412"
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

double Milliseconds(const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::atoi(argv[1]) < 1) {
    std::fputs("usage: command_cpu RUNS COMMAND [ARGUMENTS...]\n", stderr);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    pid_t child;
    if (posix_spawnp(&child, argv[2], &actions, nullptr, argv + 2, environ) != 0) {
      std::perror(argv[2]);
      return 1;
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "command_cpu: %s failed\n", argv[2]);
      return 1;
    }
    times.push_back(Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime));
  }
  posix_spawn_file_actions_destroy(&actions);
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  std::printf("%.3f\n", median);
  return 0;
}
