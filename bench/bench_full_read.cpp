// A full read of the device model against the simulator pacing its replies like a real line,
// at 9600 and 115200 baud. Prints the elapsed time, the sum of the wire times and
// turnarounds of the frames exchanged, and their ratio: how close the program comes to the
// line's limit (1.00 would be the wire alone).
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "document/zelmot_doc.h"
#include "link/line_timing.h"
#include "platform/paths.h"

extern char** environ;

namespace {

constexpr double kTurnaroundMs = 2.0;  // the simulator's default turnaround

struct Simulator {
  pid_t pid = -1;
  std::string pty;
};

Simulator startSimulator(const std::string& binDir, int baud) {
  Simulator sim;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return sim;
  const std::string program = binDir + "/zelmot-sim";
  const std::string baudText = std::to_string(baud);
  std::vector<std::string> args = {program, "--data-dir", binDir, "--pace", "--baud", baudText};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  if (posix_spawn(&sim.pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
    sim.pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  char c = 0;
  while (read(pipeFds[0], &c, 1) == 1 && c != '\n') sim.pty += c;
  close(pipeFds[0]);
  return sim;
}

void stopSimulator(const Simulator& sim) {
  if (sim.pid <= 0) return;
  kill(sim.pid, SIGTERM);
  int status = 0;
  waitpid(sim.pid, &status, 0);
}

// Wire time of every frame, and the program's own time from the end of a reply to the
// next request (what the program adds to the line).
struct WireTally {
  using Clock = std::chrono::steady_clock;
  double charTimeMs = 0;
  double wireMs = 0;
  double ownMs = 0;
  int frames = 0;
  int gaps = 0;
  Clock::time_point lastReply{};

  void count(const zelmot::link::TraceEvent& event) {
    using Kind = zelmot::link::TraceEvent::Kind;
    const Clock::time_point now = Clock::now();
    if (event.kind == Kind::Sent) {
      wireMs += charTimeMs * static_cast<double>(event.text.size()) + kTurnaroundMs;
      ++frames;
      if (lastReply != Clock::time_point{}) {
        ownMs += std::chrono::duration<double, std::milli>(now - lastReply).count();
        ++gaps;
      }
    } else if (event.kind == Kind::Received) {
      wireMs += charTimeMs * static_cast<double>(event.text.size());
      lastReply = now;
    }
  }
};

bool benchAt(const std::string& binDir, int baud) {
  const Simulator sim = startSimulator(binDir, baud);
  if (sim.pty.empty()) {
    std::printf("%6d baud: the simulator did not start\n", baud);
    stopSimulator(sim);
    return false;
  }
  zelmot::document::CZELMOTDoc doc;
  if (!doc.initialise(binDir)) {
    std::printf("no device model in %s\n", binDir.c_str());
    stopSimulator(sim);
    return false;
  }
  doc.setCommandLineMode(true);
  doc.programNetwork().SetValueByName("Port", sim.pty, false);
  doc.programNetwork().SetValueByName("bPS", std::to_string(baud), false);
  zelmot::exchange::DeviceLink& link = doc.deviceLink();
  link.port().setConverterMode(zelmot::link::ConverterMode::Automatic);
  link.setSuppressMessages(true);
  link.load_port_settings();
  WireTally tally;
  tally.charTimeMs = zelmot::link::computeLineTimeouts(baud, false, false).charTime;
  link.setFrameTrace([&tally](const zelmot::link::TraceEvent& event) { tally.count(event); });

  const auto start = std::chrono::steady_clock::now();
  const zelmot::exchange::TaskOutcome outcome =
      link.runTask(zelmot::exchange::TaskCode::Read, doc.root());
  const double elapsedMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  stopSimulator(sim);

  std::printf("%6d baud: %d parameters, %d frames, %d errors; elapsed %.0f ms, wire %.0f ms, "
              "ratio %.3f; program's time from reply to next request %.3f ms on average\n",
              baud, outcome.counts.handled, tally.frames, outcome.errors, elapsedMs, tally.wireMs,
              tally.wireMs > 0 ? elapsedMs / tally.wireMs : 0.0,
              tally.gaps > 0 ? tally.ownMs / tally.gaps : 0.0);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string binDir = argc > 1 ? argv[1] : zelmot::executableDir().string();
  bool ok = true;
  for (int baud : {9600, 115200}) ok = benchAt(binDir, baud) && ok;
  return ok ? 0 : 1;
}
