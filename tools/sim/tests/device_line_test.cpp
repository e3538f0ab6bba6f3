// Serving a serial device given by path (here the slave side of a pseudo-terminal that the
// test holds the master of): answers go out on it, and a line that goes away ends the
// server instead of spinning.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <thread>

#include "link/frame_codec.h"
#include "platform/event.h"
#include "sim_harness.h"
#include "support/pty_pair.h"

namespace zelmot::sim::testing {
namespace {

class DeviceLineTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(line_.openDevice(pty_.slavePath(), device_.network(), error)) << error;
    server_ = std::make_unique<SimServer>(SimOptions{}, device_, line_, nullptr);
    thread_ = std::thread([this] { outcome_ = server_->run(stop_.fd()); });
  }
  void TearDown() override {
    stop_.set();
    if (thread_.joinable()) thread_.join();
  }

  std::string exchange(const std::string& frame) {
    const int master = pty_.master();
    EXPECT_EQ(write(master, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    std::string reply;
    char c = 0;
    pollfd p{master, POLLIN, 0};
    while (reply.size() < 64 && poll(&p, 1, 1000) > 0 && read(master, &c, 1) == 1) {
      reply.push_back(c);
      if (c == '\r') break;
    }
    return reply;
  }

  test_support::PtyPair pty_;
  SimDevice device_{SimOptions{}, testStore()};
  SimLine line_;
  std::unique_ptr<SimServer> server_;
  Event stop_{Event::Reset::Manual};
  std::thread thread_;
  SimServer::Outcome outcome_ = SimServer::Outcome::Stopped;
};

TEST_F(DeviceLineTest, AnswersOnTheDevice) {
  link::RequestFields fields;
  fields.address = 16;
  fields.command = link::name_hash("Cnt");
  std::string frame;
  std::string error;
  ASSERT_TRUE(link::build_request(fields, frame, error));
  const std::string reply = exchange(frame);
  const link::Reply decoded = link::read_reply(reply.data(), reply.size());
  ASSERT_EQ(decoded.verdict, link::FrameVerdict::Good) << reply;
  EXPECT_EQ(decoded.command, fields.command);
  ASSERT_EQ(decoded.length, 1);
  EXPECT_EQ(decoded.data[0], 5);
}

TEST_F(DeviceLineTest, LineThatGoesAwayEndsTheServer) {
  pty_.closeMasterAndSlave();  // the adapter is unplugged
  thread_.join();
  EXPECT_EQ(outcome_, SimServer::Outcome::LineLost);
}

}  // namespace
}  // namespace zelmot::sim::testing
