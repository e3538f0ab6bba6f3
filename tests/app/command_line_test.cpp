// The command-line grammar of unattended runs.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace zelmot::app {
namespace {

CommandLine parse(std::vector<std::string> arguments) { return parseCommandLine(arguments); }

TEST(CommandLine, OneSwitchWithTwoOptionsEqualsTwoSwitches) {
  const CommandLine joined = parse({"/read/port:3"});
  const CommandLine apart = parse({"/read", "-port:3"});
  for (const CommandLine* line : {&joined, &apart}) {
    EXPECT_TRUE(line->commandLineMode);
    EXPECT_TRUE(line->readRequested);
    EXPECT_EQ(line->port, 3);
    EXPECT_TRUE(line->networkGiven);
    EXPECT_FALSE(line->noExchange);
    EXPECT_EQ(line->job(), CommandLineJob::ReadAll);
  }
}

TEST(CommandLine, WithoutSwitchesTheProgramIsInteractive) {
  const CommandLine line = parse({"plant.zel"});
  EXPECT_FALSE(line.commandLineMode);
  EXPECT_FALSE(line.noExchange);
  EXPECT_EQ(line.documentPath, "plant.zel");
  EXPECT_EQ(line.job(), CommandLineJob::None);
}

TEST(CommandLine, OptionsWithoutPortSwitchExchangeOff) {
  EXPECT_TRUE(parse({"/read/bps:9600"}).noExchange);
  EXPECT_TRUE(parse({"/unknown"}).noExchange);  // any switch is command-line mode
  EXPECT_TRUE(parse({"/port:0/read"}).noExchange);
  EXPECT_TRUE(parse({"/port:x/read"}).noExchange);
  EXPECT_FALSE(parse({"/port:0x1f"}).noExchange);
}

TEST(CommandLine, UnknownParityCancelsEarlierNetworkSettings) {
  const CommandLine line = parse({"/port:2/bps:19200/prty:none"});
  EXPECT_FALSE(line.networkGiven);
  EXPECT_EQ(line.port, 2);  // the port still decides whether there is exchange
  EXPECT_FALSE(line.noExchange);
  EXPECT_TRUE(parse({"/prty:none/bps:19200"}).networkGiven);  // a later option sets it again
  EXPECT_EQ(parse({"/prty:no"}).parity, LineParity::None);
  EXPECT_EQ(parse({"/prty:odd"}).parity, LineParity::Odd);
  EXPECT_EQ(parse({"/prty:even"}).parity, LineParity::Even);
}

TEST(CommandLine, WriteIsPostedBeforeCalibrateBeforeRead) {
  EXPECT_EQ(parse({"/read/write"}).job(), CommandLineJob::WriteAll);
  EXPECT_EQ(parse({"/read", "/calibrate"}).job(), CommandLineJob::Calibrate);
  EXPECT_EQ(parse({"/calibrate/write/read"}).job(), CommandLineJob::WriteAll);
}

TEST(CommandLine, NewNetParamStopsExchangeAndLaterPorts) {
  const CommandLine line = parse({"/port:4/newnetparam/port:5/read"});
  EXPECT_TRUE(line.newNetParam);
  EXPECT_EQ(line.port, 0);
  EXPECT_FALSE(line.networkGiven);
  EXPECT_TRUE(line.noExchange);
}

TEST(CommandLine, KeysAreCaseSensitive) {
  const CommandLine line = parse({"/READ/Port:3"});
  EXPECT_TRUE(line.commandLineMode);
  EXPECT_FALSE(line.readRequested);
  EXPECT_EQ(line.port, 0);
}

struct NumberCase {
  const char* option;
  int CommandLine::*field;
  int expected;
};

class NumericOptions : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumericOptions, ParseAsPercentI) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(parse({std::string("/") + c.option}).*(c.field), c.expected) << c.option;
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumericOptions,
    ::testing::Values(NumberCase{"bps:19200", &CommandLine::baud, 19200},
                      NumberCase{"bps:0x2580", &CommandLine::baud, 9600},
                      NumberCase{"bps:fast", &CommandLine::baud, 0},
                      NumberCase{"bps:96 00", &CommandLine::baud, 0},
                      NumberCase{"bps:", &CommandLine::baud, 0},
                      NumberCase{"bps", &CommandLine::baud, 0},
                      NumberCase{"len:7", &CommandLine::dataBits, 7},
                      NumberCase{"alen:11", &CommandLine::addressLength, 11},
                      NumberCase{"port:010", &CommandLine::port, 8},
                      NumberCase{"port:256", &CommandLine::port, 0},
                      NumberCase{"port:-1", &CommandLine::port, 0},
                      NumberCase{"port:99999999999", &CommandLine::port, 0}));

TEST(CommandLine, UnparsedNumberLeavesTheSettingAndTheFlag) {
  const CommandLine line = parse({"/bps:19200/bps:fast"});
  EXPECT_EQ(line.baud, 19200);
  EXPECT_FALSE(parse({"/bps:fast"}).networkGiven);
}

TEST(CommandLine, TextOptionsKeepEverythingAfterTheFirstColon) {
  const CommandLine line = parse({"/addr:0:24/sbit:2/exitevent:\"stop:now\""});
  EXPECT_EQ(line.address, "0:24");
  EXPECT_EQ(line.stopBits, "2");
  EXPECT_EQ(line.exitEvent, "stop:now");
  EXPECT_TRUE(line.networkGiven);
}

TEST(CommandLine, QuotedPathsKeepTheirSlashes) {
  const CommandLine line = parse({"/elog:\"/tmp/zel errors.log\"/close"});
  EXPECT_EQ(line.errorLog, "/tmp/zel errors.log");
  EXPECT_TRUE(line.close);
  EXPECT_EQ(parse({"/elog:"}).errorLog, "");
  EXPECT_FALSE(parse({"/elog"}).errorLog.has_value());
}

TEST(CommandLine, AbsoluteConfigurationPathIsTheDocument) {
  const CommandLine line = parse({"/read/port:1", "/home/op/plant.ZEL", "second.zel"});
  EXPECT_EQ(line.documentPath, "/home/op/plant.ZEL");
  EXPECT_TRUE(line.readRequested);
}

TEST(CommandLine, SilentCountsAsBothModesOff) {
  const CommandLine line = parse({"/autoread:on/autowrite:on/silent"});
  EXPECT_TRUE(line.silent);
  EXPECT_EQ(line.autoRead, false);
  EXPECT_EQ(line.autoWrite, false);
  EXPECT_EQ(parse({"/autowrite:on"}).autoWrite, true);
  EXPECT_FALSE(parse({"/autowrite:yes"}).autoWrite.has_value());
}

TEST(CommandLine, ConverterAndPlacement) {
  EXPECT_EQ(parse({"/rs485:auto"}).converter, ConverterChoice::Auto);
  EXPECT_EQ(parse({"/rs485:off"}).converter, ConverterChoice::Off);
  EXPECT_EQ(parse({"/rs485:on"}).converter, ConverterChoice::On);
  EXPECT_EQ(parse({"/rs485:ON"}).converter, ConverterChoice::NotGiven);
  const CommandLine line = parse({"/x:10/w:800/h:600/y:bad"});
  EXPECT_EQ(line.placement.x, 10);
  EXPECT_FALSE(line.placement.y.has_value());
  EXPECT_EQ(line.placement.width, 800);
  EXPECT_EQ(line.placement.height, 600);
}

TEST(CommandLine, ArgvFormSkipsTheProgramName) {
  const char* argv[] = {"zelmot", "-read/aply/test", "out.zel"};
  const CommandLine line = parseCommandLine(3, argv);
  EXPECT_TRUE(line.readRequested);
  EXPECT_TRUE(line.aply);
  EXPECT_TRUE(line.test);
  EXPECT_EQ(line.documentPath, "out.zel");
}

}  // namespace
}  // namespace zelmot::app
