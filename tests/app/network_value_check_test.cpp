// Checks of edited network settings against the node's other settings.
#include "app/network_value_check.h"

#include <gtest/gtest.h>

#include "model/net_rs485.h"

namespace zelmot::app {
namespace {

struct NetworkCase {
  const char* dataBits;
  const char* stopBits;
  const char* parity;
  const char* addressLength;
  const char* address;
  const char* name;  // the setting being edited
  const char* value;
  const char* refusal;  // nullptr: accepted
};

class NetworkCheckTest : public ::testing::TestWithParam<NetworkCase> {};

TEST_P(NetworkCheckTest, RefusesWhatTheDeviceCannotDo) {
  const NetworkCase& c = GetParam();
  model::NetRS485 node;
  node.SetValueByName("LEn", c.dataBits, false);
  node.SetValueByName("Sbit", c.stopBits, false);
  node.SetValueByName("PrtY", c.parity, false);
  node.SetValueByName("A.Len", c.addressLength, false);
  node.SetValueByName("Addr", c.address, false);
  const NetworkRefusal result = checkNetworkValue(node, c.name, c.value);
  if (c.refusal == nullptr) {
    EXPECT_FALSE(result.refused) << result.text;
  } else {
    EXPECT_TRUE(result.refused);
    EXPECT_EQ(result.text, c.refusal);
  }
}

constexpr const char* kFrame = "Заданные сетевые настройки не поддерживаются прибором!";
constexpr const char* kMultiple = "Значение адреса должно быть кратно 8!";
constexpr const char* kTooLarge = "Нельзя что бы адрес был >255 если длина адреса 8 бит!";

INSTANTIATE_TEST_SUITE_P(
    Settings, NetworkCheckTest,
    ::testing::Values(
        // 7 data bits with 1 stop bit needs a parity bit.
        NetworkCase{"8", "1", "Отсутствует", "8", "16", "LEn", "7", kFrame},
        NetworkCase{"8", "1", "Четность", "8", "16", "LEn", "7", nullptr},
        NetworkCase{"7", "1", "Четность", "8", "16", "PrtY", "Отсутствует", kFrame},
        // 8 data bits, 2 stop bits and a parity bit do not fit.
        NetworkCase{"8", "1", "Четность", "8", "16", "Sbit", "2", kFrame},
        NetworkCase{"8", "2", "Отсутствует", "8", "16", "PrtY", "Нечетность", kFrame},
        NetworkCase{"8", "2", "Отсутствует", "8", "16", "prty", "Отсутствует", nullptr},
        // Addresses: multiples of 8, above 255 only with 11-bit addresses.
        NetworkCase{"8", "1", "Отсутствует", "8", "16", "Addr", "12", kMultiple},
        NetworkCase{"8", "1", "Отсутствует", "8", "16", "Addr", "20", kMultiple},
        NetworkCase{"8", "1", "Отсутствует", "8", "16", "Addr", "16", nullptr},
        NetworkCase{"8", "1", "Отсутствует", "8", "16", "Addr", "256", kTooLarge},
        NetworkCase{"8", "1", "Отсутствует", "11", "16", "Addr", "256", nullptr},
        NetworkCase{"8", "1", "Отсутствует", "11", "512", "A.Len", "8", kTooLarge},
        NetworkCase{"8", "1", "Отсутствует", "8", "248", "A.Len", "11", nullptr},
        // Not a number: left to the value check.
        NetworkCase{"8", "1", "Отсутствует", "8", "16", "Addr", "1x", nullptr},
        NetworkCase{"8", "1", "Отсутствует", "8", "16", "bPS", "9600", nullptr}));

TEST(NetworkCheck, CaptionsAndIcons) {
  model::NetRS485 node;
  node.SetValueByName("A.Len", "8", false);
  NetworkRefusal multiple = checkNetworkValue(node, "Addr", "9");
  EXPECT_EQ(multiple.caption, "Неудалось изменить значение сетевого адреса");
  EXPECT_EQ(multiple.icon, PromptIcon::Stop);
  NetworkRefusal large = checkNetworkValue(node, "Addr", "512");
  EXPECT_EQ(large.caption, "Неудалось изменить значение");
  EXPECT_EQ(large.icon, PromptIcon::Stop);
  node.SetValueByName("Sbit", "1", false);
  node.SetValueByName("PrtY", "Отсутствует", false);
  NetworkRefusal frame = checkNetworkValue(node, "LEn", "7");
  EXPECT_EQ(frame.caption, "Неудалось изменить значение");
  EXPECT_EQ(frame.icon, PromptIcon::Information);
}

}  // namespace
}  // namespace zelmot::app
