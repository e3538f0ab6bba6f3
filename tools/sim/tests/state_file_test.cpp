// A device's configuration survives a restart through the state file, and a damaged state
// file is taken as far as it fits.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/frame_codec.h"
#include "sim_harness.h"
#include "state_file.h"
#include "support/temp_folder.h"

namespace zelmot::sim::testing {
namespace {


TEST(StateFile, ConfigurationSurvivesARestart) {
  test_support::TempFolder folder;
  const std::string path = folder.file("state.txt");
  {
    SimDevice device(SimOptions{}, testStore());
    device.store().findByName("SP", -1)->value->setRawValueText("42.500");
    device.store().attributes(link::name_hash("Own"), -1)->editable = false;
    device.clock().setOffsetSeconds(-3600);
    NetworkSettings network = device.network();
    network.address = 40;
    network.parity = Parity::Odd;
    device.setNetwork(network);
    device.setErrorCount(12);
    std::string error;
    ASSERT_TRUE(saveState(device, path, error)) << error;
  }
  SimDevice restored(SimOptions{}, testStore());
  size_t skipped = 99;
  std::string error;
  ASSERT_TRUE(restoreState(restored, path, skipped, error)) << error;
  EXPECT_EQ(skipped, 0u) << std::ifstream(path).rdbuf();
  EXPECT_EQ(restored.store().findByName("SP", -1)->value->valueText(), "42.500");
  EXPECT_FALSE(restored.store().attributes(link::name_hash("Own"), -1)->editable);
  EXPECT_EQ(restored.clock().offsetSeconds(), -3600);
  EXPECT_EQ(restored.network().address, 40);
  EXPECT_EQ(restored.network().parity, Parity::Odd);
  EXPECT_EQ(restored.store().findByName("Addr", -1)->value->valueText(), "40");
  EXPECT_EQ(restored.errorCount(), 12u);
}

TEST(StateFile, DamagedLinesAreSkipped) {
  test_support::TempFolder folder;
  const std::string path = folder.file("damaged.txt");
  {
    std::ofstream out(path);
    out << "value\tSP\t-1\t77.000\n"
        << "value\tSP\t-1\tnot a number\n"    // the type refuses it
        << "value\tNoSuch\t-1\t1\n"           // not in this model
        << "value\tCnt\n"                     // cut short
        << "network\t16\t8\t9600\t8\t9\t1\n"  // no parity 9
        << "attr\t65535\t0\t1\t1\n"           // no such group
        << "clock\tsoon\n"
        << "\x01\x02garbage\n";
  }
  SimDevice device(SimOptions{}, testStore());
  size_t skipped = 0;
  std::string error;
  ASSERT_TRUE(restoreState(device, path, skipped, error)) << error;
  EXPECT_EQ(skipped, 7u);
  EXPECT_EQ(device.store().findByName("SP", -1)->value->valueText(), "77.000");
  EXPECT_EQ(device.network().address, 16);
}

TEST(StateFile, MissingFileIsAFreshDevice) {
  test_support::TempFolder folder;
  SimDevice device(SimOptions{}, testStore());
  size_t skipped = 0;
  std::string error;
  EXPECT_TRUE(restoreState(device, folder.file("absent.txt"), skipped, error));
  EXPECT_EQ(skipped, 0u);
}

TEST(StateFile, UnsearchablePathIsAnErrorNotAnException) {
  // A name longer than any file system allows: looking for it fails with ENAMETOOLONG.
  const std::string path = "/tmp/" + std::string(300, 'x') + "/state.txt";
  SimDevice device(SimOptions{}, testStore());
  size_t skipped = 0;
  std::string error;
  EXPECT_FALSE(restoreState(device, path, skipped, error));
  EXPECT_NE(error.find("файл состояния"), std::string::npos) << error;
}

TEST(StateFile, NetworkLineWithImpossibleFramingIsSkipped) {
  test_support::TempFolder folder;
  const std::string path = folder.file("framing.txt");
  {
    std::ofstream out(path);
    out << "network\t40\t9\t9600\t8\t0\t1\n"    // no 9-bit addressing
        << "network\t40\t8\t9600\t5\t0\t1\n"    // no 5 data bits
        << "network\t40\t8\t9600\t8\t0\t3\n"    // no 3 stop bits
        << "network\t41\t11\t19200\t7\t1\t2\n";  // the one good line
  }
  SimDevice device(SimOptions{}, testStore());
  size_t skipped = 0;
  std::string error;
  ASSERT_TRUE(restoreState(device, path, skipped, error)) << error;
  EXPECT_EQ(skipped, 3u);
  EXPECT_EQ(device.network().address, 41);
  EXPECT_EQ(device.network().addressLength, 11);
  EXPECT_EQ(device.network().dataBits, 7);
  EXPECT_EQ(device.network().stopBits, 2);
}

}  // namespace
}  // namespace zelmot::sim::testing
