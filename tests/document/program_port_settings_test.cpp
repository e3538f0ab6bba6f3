#include "document/program_port_settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "model/net_rs485.h"
#include "platform/settings.h"
#include "support/temp_folder.h"

namespace zelmot::document {
namespace {

class PortSettingsTest : public ::testing::Test {
protected:
  PortSettingsTest() : file(folder / "zelmot_ports.ini"), settings(file) {}

  test_support::TempFolder folder;
  std::filesystem::path file;
  Settings settings;
  model::NetRS485prg node;
};

TEST_F(PortSettingsTest, MissingValuesKeepTheDefaults) {
  loadProgramPortSettings(settings, node);
  EXPECT_EQ(node.GetValueByName("Port"), "COM1");
  EXPECT_EQ(node.GetValueByName("bPS"), "9600");
  EXPECT_EQ(node.GetValueByName("PrtY"), "Отсутствует");
  EXPECT_EQ(node.GetValueByName("Addr"), "16");
}

TEST_F(PortSettingsTest, StoredValuesAreTakenAndParityCodesMapped) {
  settings.writeInt(kProgramSettingsKey, "port_number", 3);
  settings.writeInt(kProgramSettingsKey, "baud_rate", 19200);
  settings.writeInt(kProgramSettingsKey, "address", 24);
  settings.writeInt(kProgramSettingsKey, "address_length", 11);
  settings.writeInt(kProgramSettingsKey, "parity_scheme", 4);
  loadProgramPortSettings(settings, node);
  EXPECT_EQ(node.GetValueByName("Port"), "COM3");
  EXPECT_EQ(node.GetValueByName("bPS"), "19200");
  EXPECT_EQ(node.GetValueByName("Addr"), "24");
  EXPECT_EQ(node.GetValueByName("A.Len"), "11");
  EXPECT_EQ(node.GetValueByName("PrtY"), "Нечетность");
  settings.writeInt(kProgramSettingsKey, "parity_scheme", 2);
  loadProgramPortSettings(settings, node);
  EXPECT_EQ(node.GetValueByName("PrtY"), "<неверное значние>");
}

TEST_F(PortSettingsTest, SavedSettingsReadBack) {
  node.SetValueByName("bPS", "57600", false);
  node.SetValueByName("PrtY", "Четность", false);
  node.SetValueByName("Port", "COM4", false);
  ASSERT_TRUE(saveProgramPortSettings(settings, node));
  std::uint32_t value = 0;
  ASSERT_EQ(settings.readInt(kProgramSettingsKey, "parity_scheme", value), SettingsStatus::Ok);
  EXPECT_EQ(value, 1u);
  model::NetRS485prg again;
  loadProgramPortSettings(settings, again);
  EXPECT_EQ(again.GetValueByName("bPS"), "57600");
  EXPECT_EQ(again.GetValueByName("Port"), "COM4");

  // A device path given for one run keeps the stored port number.
  node.SetValueByName("Port", "/dev/pts/9", false);
  ASSERT_TRUE(saveProgramPortSettings(settings, node));
  ASSERT_EQ(settings.readInt(kProgramSettingsKey, "port_number", value), SettingsStatus::Ok);
  EXPECT_EQ(value, 4u);
}

}  // namespace
}  // namespace zelmot::document
