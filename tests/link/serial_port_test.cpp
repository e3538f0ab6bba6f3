#include "link/serial_port.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "scripted_device.h"
#include "platform/os_error.h"

namespace zelmot::link {
namespace {

using testing::deviceReply;
using testing::PtyPair;
using testing::ScriptedDevice;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct TimingCase {
  int baud;
  bool parityChecked;
  bool twoStopBits;
  double charTime;
  uint32_t readInterval;
  uint32_t readPerChar;
  uint16_t replyWait;
};

TEST(LineTiming, WorkedFigures) {
  const TimingCase cases[] = {
      {9600, true, false, 11000.0 / 9600, 2, 4, 162},
      {9600, false, false, 10000.0 / 9600, 2, 4, 162},
      {2400, true, false, 11000.0 / 2400, 7, 12, 386},
      {9600, true, true, 12000.0 / 9600, 2, 4, 162},
      {2400, true, true, 12000.0 / 2400, 8, 13, 414},
      {19200, true, false, 11000.0 / 19200, 1, 2, 106},
      {115200, false, false, 10000.0 / 115200, 1, 2, 106},
      {110, true, false, 11000.0 / 110, 150, 250, 7050},
  };
  for (const auto& c : cases) {
    const LineTimeouts t = computeLineTimeouts(c.baud, c.parityChecked, c.twoStopBits);
    EXPECT_NEAR(t.charTime, c.charTime, 1e-4) << c.baud;
    EXPECT_EQ(t.readInterval, c.readInterval) << c.baud;
    EXPECT_EQ(t.readPerChar, c.readPerChar) << c.baud;
    EXPECT_EQ(t.replyWait, c.replyWait) << c.baud;
    EXPECT_EQ(t.readConstant, 50u);
    EXPECT_EQ(t.writePerChar, 10u);
    EXPECT_EQ(t.writeConstant, 10u);
  }
}

TEST(PortNames, ComNamesAreMappedAndPathsKept) {
  EXPECT_EQ(comPortNumber("COM12"), 12);
  EXPECT_EQ(comPortNumber("com3"), 3);
  EXPECT_EQ(comPortNumber("COM"), 0);
  EXPECT_EQ(comPortNumber("COMX"), 0);
  EXPECT_EQ(comPortNumber("/dev/ttyUSB0"), 0);
  EXPECT_EQ(resolvePortPath("COM12", {}), "/dev/ttyS11");
  EXPECT_EQ(resolvePortPath("/dev/pts/7", {}), "/dev/pts/7");
  const ComPortMapper mapper = [](int n) { return n == 2 ? std::string("/dev/ttyUSB0") : std::string(); };
  EXPECT_EQ(resolvePortPath("COM2", mapper), "/dev/ttyUSB0");
  EXPECT_EQ(resolvePortPath("COM3", mapper), "/dev/ttyS2");  // mapper has no entry
}

class SerialPortTest : public ::testing::Test {
protected:
  void SetUp() override {
    port.setPortName(pty.slavePath());
    port.setConverterMode(ConverterMode::Automatic);
  }

  ExchangeResult exchange(const std::string& frame) {
    return port.port_exchange(frame.data(), frame.size(), reply, replyCount);
  }
  std::string replyText() const { return std::string(reply.data(), replyCount); }

  PtyPair pty;
  SerialPort port;
  ReplyBuffer reply{};
  size_t replyCount = 0;
};

TEST_F(SerialPortTest, OpenSetsTheTimingOfTheLine) {
  ASSERT_EQ(port.open_port(), OpenResult::Ok) << port.lastErrorText();
  EXPECT_NEAR(port.char_time(), 11000.0 / 9600, 1e-4);
  EXPECT_EQ(port.reply_wait(), 162);
  EXPECT_EQ(port.close_port(), CloseResult::Closed);
  EXPECT_EQ(port.close_port(), CloseResult::NotOpen);
  EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialPortTest, RefusedSettingsGiveTheirResultCodes) {
  struct Case {
    const char* what;
    LineSettings settings;
    OpenResult result;
  };
  constexpr auto kRefused = OpenResult::SettingRefused;
  constexpr auto kOk = OpenResult::Ok;
  const auto parity = [](int code) { return static_cast<Parity>(code); };
  const Case cases[] = {
      {"baud 256000", {256000, Parity::None, 8, 1}, kRefused},
      {"data bits 9", {9600, Parity::None, 9, 1}, OpenResult::DataBitsRefused},
      {"data bits 4", {9600, Parity::None, 4, 1}, OpenResult::DataBitsRefused},
      {"stop bits 3", {9600, Parity::None, 8, 3}, kRefused},
      {"parity code 6", {9600, parity(6), 8, 1}, kRefused},
      {"parity code -1", {9600, parity(-1), 8, 1}, kRefused},
      {"baud 14400", {14400, Parity::Even, 7, 2}, kOk},
      {"baud 128000 mark", {128000, Parity::Mark, 8, 1}, kOk},
      {"space parity", {1200, Parity::Space, 5, 1}, kOk},
  };
  for (const auto& c : cases) {
    port.setLineSettings(c.settings);
    EXPECT_EQ(port.open_port(), c.result) << c.what;
    if (c.result != kOk) {
      EXPECT_EQ(port.reply_wait(), 0) << c.what;
      EXPECT_TRUE(port.isOpen()) << c.what;  // closed by close_port
    }
    EXPECT_EQ(port.close_port(), CloseResult::Closed) << c.what;
  }
}

TEST_F(SerialPortTest, MissingDeviceDoesNotOpen) {
  port.setPortName("/dev/zelmot-no-such-port");
  EXPECT_EQ(port.open_port(), OpenResult::NotOpened);
  EXPECT_EQ(port.lastError(), ENOENT);
  EXPECT_FALSE(port.lastErrorText().empty());
  EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialPortTest, FileOrPipeNamedAsPortIsRefusedAndLeftUntouched) {
  char filePath[] = "/tmp/zelmot_not_a_port_XXXXXX";
  const int file = ::mkstemp(filePath);
  ASSERT_GE(file, 0);
  ASSERT_EQ(::write(file, "data", 4), 4);
  ::close(file);
  const std::string fifoPath = std::string(filePath) + ".fifo";
  ASSERT_EQ(::mkfifo(fifoPath.c_str(), 0600), 0);
  for (const std::string& path : {std::string(filePath), fifoPath}) {
    port.setPortName(path);
    EXPECT_EQ(port.open_port(), OpenResult::NotOpened) << path;
    EXPECT_EQ(port.lastError(), ENOTTY) << path;
    EXPECT_FALSE(port.isOpen()) << path;
    EXPECT_EQ(exchange("#GHGH\r"), ExchangeResult::Aborted) << path;
  }
  struct stat info {};
  ASSERT_EQ(::stat(filePath, &info), 0);
  EXPECT_EQ(info.st_size, 4);
  ::unlink(filePath);
  ::unlink(fifoPath.c_str());
}

TEST_F(SerialPortTest, SecondOpenerGetsPortBusy) {
  ASSERT_EQ(port.open_port(), OpenResult::Ok);
  SerialPort other;
  other.setPortName(pty.slavePath());
  EXPECT_EQ(other.open_port(), OpenResult::NotOpened);
  EXPECT_EQ(other.lastErrorText(), osErrorText(EBUSY));
  EXPECT_EQ(port.close_port(), CloseResult::Closed);
  EXPECT_EQ(other.open_port(), OpenResult::Ok);
}

TEST_F(SerialPortTest, ReplyEndsAtTheCarriageReturn) {
  const std::string answer = deviceReply(0xE894, {0x12, 0x34});
  ScriptedDevice device(pty, [&](const Request&, const std::string&) { return answer; });
  ASSERT_EQ(port.open_port(), OpenResult::Ok);
  for (const ConverterMode mode : {ConverterMode::Automatic, ConverterMode::SemiAutomatic}) {
    port.setConverterMode(mode);  // a pty has no RTS: the semi-automatic mode copes
    EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::Done) << modeCode(mode);
    EXPECT_EQ(replyText(), answer) << modeCode(mode);
  }
  EXPECT_EQ(device.framesReceived(), 2);
  ASSERT_EQ(device.requests().size(), 2u);
  EXPECT_EQ(device.requests()[1].command, 0xE894);
}

TEST_F(SerialPortTest, PseudoTerminalCannotDriveRtsAndIsServedWhole) {
  const std::string answer = deviceReply(0xE894, {0x12});
  ScriptedDevice device(pty, [&](const Request&, const std::string&) { return answer; });
  port.setConverterMode(ConverterMode::SemiAutomatic);
  EXPECT_FALSE(port.rtsUnavailable());  // not known before an open
  ASSERT_EQ(port.open_port(), OpenResult::Ok);
  EXPECT_TRUE(port.rtsUnavailable());
  EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::Done);
  EXPECT_EQ(replyText(), answer);
}

TEST_F(SerialPortTest, ConverterModeIsSwitchedWhileAnExchangeWaits) {
  ScriptedDevice device(pty, [](const Request&, const std::string&) { return std::string(); });
  port.setLineSettings({110, Parity::None, 8, 1});  // a reply wait of seven seconds
  ASSERT_EQ(port.open_port(), OpenResult::Ok);
  std::atomic<bool> finished{false};
  std::thread exchanging([&] {
    exchange("#HGHGUOPKHPOP\r");
    finished = true;
  });
  while (device.framesReceived() == 0) std::this_thread::yield();  // the port is held now
  port.setConverterMode(ConverterMode::SemiAutomatic);
  EXPECT_EQ(port.converterMode(), ConverterMode::SemiAutomatic);
  EXPECT_TRUE(port.rtsUnavailable());
  EXPECT_FALSE(finished);  // none of these waited for the exchange to end
  port.stop_event().set();
  exchanging.join();
}

TEST_F(SerialPortTest, LongReplyIsCutAt29Characters) {
  const std::string answer = deviceReply(0x1234, std::vector<uint8_t>(12, 0x11));
  ScriptedDevice device(pty, [&](const Request&, const std::string&) { return answer; });
  ASSERT_EQ(port.open_port(), OpenResult::Ok);
  EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::Done);
  EXPECT_EQ(replyText(), answer.substr(0, 29));
}

TEST_F(SerialPortTest, SilentDeviceTimesOutAfterReplyWait) {
  port.setLineSettings({115200, Parity::NoneUnchecked, 8, 1});
  ASSERT_EQ(port.open_port(), OpenResult::Ok);
  const auto start = Clock::now();
  EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::NoReply);
  const double elapsed = msSince(start);
  EXPECT_GE(elapsed, 100.0);
  EXPECT_EQ(replyCount, 0u);
}

TEST_F(SerialPortTest, StopEventEndsAWaitingExchangeAndEveryLaterOne) {
  port.setLineSettings({110, Parity::None, 8, 1});  // a reply wait of seven seconds
  ASSERT_EQ(port.open_port(), OpenResult::Ok);
  // Without the stop the wait would end as NoReply.
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    port.stop_event().set();
  });
  EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::Aborted);
  stopper.join();
  EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::Aborted);
}

TEST_F(SerialPortTest, HangUpFailsTheExchangeAndLaterOnesAtOnce) {
  port.setLineSettings({110, Parity::None, 8, 1});
  ASSERT_EQ(port.open_port(), OpenResult::Ok);
  std::thread unplug([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pty.closeMasterAndSlave();
  });
  EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::Aborted);
  unplug.join();
  EXPECT_TRUE(port.hasFailed());
  EXPECT_FALSE(port.lastErrorText().empty());

  EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::Aborted);
  EXPECT_EQ(port.close_port(), CloseResult::Closed);  // a failed port can still be released
  EXPECT_FALSE(port.hasFailed());
}

TEST_F(SerialPortTest, ClosedPortExchangeFailsAtOnce) {
  EXPECT_EQ(exchange("#HGHGUOPKHPOP\r"), ExchangeResult::Aborted);
}

}  // namespace
}  // namespace zelmot::link
