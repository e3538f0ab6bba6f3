#include "support/crash_loop.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

namespace zelmot::test_support {

CrashLoopResult killAtRandomPoints(int rounds, std::chrono::microseconds maxDelay,
                                   const std::function<void()>& job,
                                   const std::function<void(int round)>& check, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<long long> delay(0, maxDelay.count());
  CrashLoopResult result;
  for (int round = 0; round < rounds; ++round) {
    // The delay counts from the child's first job, not from the fork, which is slow for
    // a large process.
    int ready[2];
    if (pipe(ready) != 0) break;
    const pid_t child = fork();
    if (child < 0) break;
    if (child == 0) {
      close(ready[0]);
      const char started = 1;
      if (write(ready[1], &started, 1) != 1) _exit(1);
      for (;;) job();
    }
    close(ready[1]);
    char started = 0;
    if (read(ready[0], &started, 1) != 1) started = 0;
    close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ++result.rounds;
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) ++result.killedWhileRunning;
    check(round);
  }
  return result;
}

}  // namespace zelmot::test_support
