#pragma once
// Crash safety: a job run in a child process over and over is killed with SIGKILL at a
// random moment, many times; after every kill the caller checks what is left on disk.
#include <chrono>
#include <functional>

namespace zelmot::test_support {

struct CrashLoopResult {
  int rounds = 0;
  int killedWhileRunning = 0;  // the child was still at work when the signal hit it
};

// Forks a child that calls `job` until it is killed; kills it after a random delay below
// `maxDelay`, waits for it and calls `check(round)`. The parent must have no other threads
// holding locks the job needs (the child inherits only the forking thread).
CrashLoopResult killAtRandomPoints(int rounds, std::chrono::microseconds maxDelay,
                                   const std::function<void()>& job,
                                   const std::function<void(int round)>& check,
                                   unsigned seed = 1);

}  // namespace zelmot::test_support
