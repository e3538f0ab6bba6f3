// Whatever arrives on the line, the device keeps its footing: garbage, cut frames, bursts
// and frames without a carriage return.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "frame_splitter.h"
#include "link/frame_codec.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

std::string requestFrame(const char* name, int address = 16) {
  link::RequestFields fields;
  fields.address = address;
  fields.command = link::name_hash(name);
  std::string frame;
  std::string error;
  EXPECT_TRUE(link::build_request(fields, frame, error)) << error;
  return frame;
}

struct SplitCase {
  const char* label;
  std::string input;
  size_t frames;
  size_t dropped;
};

class SplitterTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitterTest, FramesAndDroppedPieces) {
  FrameSplitter splitter;
  std::vector<std::string> frames;
  const std::string& input = GetParam().input;
  const size_t dropped = splitter.feed(input.data(), input.size(), frames);
  EXPECT_EQ(frames.size(), GetParam().frames);
  EXPECT_EQ(dropped, GetParam().dropped);
  for (const std::string& frame : frames) {
    EXPECT_EQ(frame.front(), '#');
    EXPECT_EQ(frame.back(), '\r');
  }
}

const std::string kFrame = requestFrame("SP");

INSTANTIATE_TEST_SUITE_P(
    Inputs, SplitterTest,
    ::testing::Values(SplitCase{"one", kFrame, 1, 0},
                      SplitCase{"burst", kFrame + kFrame + kFrame, 3, 0},
                      SplitCase{"garbage_before", "xyz\r\n" + kFrame, 1, 1},
                      SplitCase{"cut_by_next", kFrame.substr(0, 7) + kFrame, 1, 1},
                      SplitCase{"no_cr_then_frame", "#GGHH" + kFrame, 1, 1},
                      SplitCase{"overlong", "#" + std::string(100, 'G') + "\r" + kFrame, 1, 1},
                      SplitCase{"stray_cr", "\r\r" + kFrame + "\r", 1, 2}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Splitter, FrameArrivingInPiecesIsJoined) {
  FrameSplitter splitter;
  std::vector<std::string> frames;
  for (char c : kFrame) splitter.feed(&c, 1, frames);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0], kFrame);
}

TEST(Splitter, BufferStaysBounded) {
  FrameSplitter splitter;
  std::vector<std::string> frames;
  std::mt19937 random(5);
  for (int i = 0; i < 20000; ++i) {
    const char c = static_cast<char>(random() % 3 == 0 ? '#' : 'G' + random() % 16);
    splitter.feed(&c, 1, frames);
    ASSERT_LE(splitter.pending(), FrameSplitter::kMaxFrame);
  }
}

// Writes straight onto the slave side, as another program on the line would.
void writeToLine(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_NOCTTY);
  ASSERT_GE(fd, 0);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    ASSERT_GT(n, 0);
    done += static_cast<size_t>(n);
  }
  close(fd);
}

TEST(Robustness, RandomBytesThenStillAnswers) {
  SimHarness sim;
  std::mt19937 random(1234);
  const std::string alphabet = "#\rGHIJKLMNOPQRSTUV";
  for (int burst = 0; burst < 40; ++burst) {
    std::string bytes;
    const int length = 1 + static_cast<int>(random() % 400);
    for (int i = 0; i < length; ++i) {
      // Mostly frame-like characters, so that checksums and lengths get exercised too.
      bytes.push_back(random() % 4 == 0 ? static_cast<char>(random() % 256)
                                        : alphabet[random() % alphabet.size()]);
    }
    if (burst % 5 == 0) bytes += requestFrame("SP");  // a good frame inside the noise
    writeToLine(sim.slavePath(), bytes);
  }
  // The host's next exchange starts by discarding what is left; a CR closes any half frame.
  writeToLine(sim.slavePath(), "\r");
  auto p = sim.parameter("SP");
  EXPECT_EQ(sim.read(*p), 0) << p->errorText();
  EXPECT_EQ(p->valueText(), "100.000");
  EXPECT_EQ(sim.stop(), SimServer::Outcome::Stopped);
  EXPECT_GT(sim.device().errorCount(), 0u);
}

TEST(Robustness, DamagedFramesAreCountedNotAnswered) {
  SimHarness sim;
  std::string frame = requestFrame("SP");
  frame[frame.size() - 2] = frame[frame.size() - 2] == 'G' ? 'H' : 'G';  // checksum
  writeToLine(sim.slavePath(), frame + "#XYZ\r");
  auto counter = sim.parameter("n.Err");
  ASSERT_EQ(sim.read(*counter), 0) << counter->errorText();
  EXPECT_EQ(counter->valueText(), "2");
  sim.stop();
  const std::string log = sim.log();
  size_t replies = 0;
  for (size_t at = log.find("-> "); at != std::string::npos; at = log.find("-> ", at + 1)) ++replies;
  EXPECT_EQ(replies, 1u) << "only the counter's read is answered:\n" << log;
}

}  // namespace
}  // namespace zelmot::sim::testing
