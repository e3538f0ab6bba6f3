// Texts of the main window: title, save question, port and line settings.
#include "app/frame_texts.h"

#include <gtest/gtest.h>

#include "exchange/device_link.h"
#include "model/net_rs485.h"

namespace zelmot::app {
namespace {

TEST(FrameTexts, TitleShowsTheFileNameAndTheModifiedMark) {
  EXPECT_EQ(windowTitle("", false), "Безымянный - Configurator - ZELMOT");
  EXPECT_EQ(windowTitle("/data/plant.zel", false), "plant.zel - Configurator - ZELMOT");
  EXPECT_EQ(windowTitle("/data/plant.zel", true), "plant.zel* - Configurator - ZELMOT");
  EXPECT_EQ(saveChangesQuestion("/data/plant.zel"), "Сохранить изменения в plant.zel?");
}

TEST(FrameTexts, PortAndLineSettingsOfTheProgramNode) {
  model::NetRS485prg node;
  node.SetValueByName("Port", "/dev/pts/4", false);
  EXPECT_EQ(portStatusText(node), "COM-порт: /dev/pts/4");
  EXPECT_EQ(lineSettingsText(node),
            "Скорость обмена данными: 9600\nДлина слова данных: 8\n"
            "Контроль по четности: Отсутствует\nКоличество стоп-бит: 1\n"
            "Длина сетевого адреса: 8\nБазовый адрес прибора: 16\nCOM-порт: /dev/pts/4");
  const exchange::DeviceLink closed;
  const PortStatus status = portStatus(node, closed);
  EXPECT_EQ(status.text, portStatusText(node));
  EXPECT_EQ(status.toolTip, lineSettingsText(node)) << "a closed port adds nothing";
}

TEST(FrameTexts, ConfigurationExtensionIsAddedOnlyWhenMissing) {
  EXPECT_EQ(withConfigurationExtension("/d/plant"), "/d/plant.zel");
  EXPECT_EQ(withConfigurationExtension("/d/plant.zel"), "/d/plant.zel");
  EXPECT_EQ(withConfigurationExtension("/d/plant.cfg"), "/d/plant.cfg");
  EXPECT_EQ(withConfigurationExtension(""), "");
}

}  // namespace
}  // namespace zelmot::app
