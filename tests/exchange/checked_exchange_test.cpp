// The engine's stricter reading of a transaction: undecodable replies and error codes the
// catalogue lacks are failures with a text; refused values are never sent.
#include "exchange/checked_exchange.h"

#include <gtest/gtest.h>

#include "exchange/exchange_engine.h"
#include "link/device_protocol.h"
#include "model/parameter.h"
#include "recording_sinks.h"
#include "scripted_transport.h"

namespace zelmot::exchange::testing {
namespace {

using Bytes = std::vector<uint8_t>;

// Ends a transaction the way the device protocol does after a reply arrived.
int deliverReply(link::LinkParameter& p, const Bytes& reply) {
  int result = link::resultCode(link::ParameterResult::Ok);
  if (p.linkDataToText(reply.data(), static_cast<int>(reply.size())) == 0) {
    result = link::resultCode(link::ParameterResult::NotDecoded);
  }
  p.setLinkErrorText("");
  p.storeLinkRawReply(reply.data(), static_cast<uint8_t>(reply.size()));
  p.clearLinkChangeFlags();
  return result;
}

// An n.Err reply: the error text is left as the catalogue has it (empty for unknown codes).
int deliverErrorReply(link::LinkParameter& p, const Bytes& reply, const std::string& text) {
  p.setLinkErrorText(text);
  p.storeLinkRawReply(reply.data(), static_cast<uint8_t>(reply.size()));
  return link::resultCode(link::ParameterResult::Failed);
}

void makeDecDot(model::Parameter& parameter, const std::string& value) {
  parameter.setName("x");
  parameter.setTypeDescriptor("DEC_dot");
  parameter.setRawValueText(value);
}

TEST(CheckedExchange, AReadReplyTheTypeCannotDecodeIsAFailedReadThatKeepsTheValue) {
  model::Parameter p;
  makeDecDot(p, "12");
  p.setValueChanged(true);
  const Bytes fiveBytes{1, 2, 3, 4, 5};
  const int result = checkedExchange(true, p, [&](link::LinkParameter& w) {
    return deliverReply(w, fiveBytes);
  });
  EXPECT_EQ(result, link::resultCode(link::ParameterResult::NotDecoded));
  EXPECT_EQ(p.valueText(), "12");
  EXPECT_EQ(p.errorText(), "Ошибка; (Непонятная длина ответа:5)");
  EXPECT_EQ(p.rowColour(), model::kErrorColour);
  EXPECT_TRUE(p.hasProblem(false));
  EXPECT_TRUE(p.valueChanged());

  // A good reply afterwards reads normally.
  EXPECT_EQ(checkedExchange(true, p, [&](link::LinkParameter& w) { return deliverReply(w, {7}); }),
            link::resultCode(link::ParameterResult::Ok));
  EXPECT_EQ(p.valueText(), "7");
  EXPECT_EQ(p.errorText(), "");
}

TEST(CheckedExchange, AWriteWhoseEchoCannotBeDecodedStillCountsAsWritten) {
  model::Parameter p;
  makeDecDot(p, "12");
  p.setValueChanged(true);
  EXPECT_EQ(checkedExchange(false, p, [&](link::LinkParameter& w) {
              return deliverReply(w, {1, 2, 3, 4, 5});
            }),
            link::resultCode(link::ParameterResult::Ok));
  EXPECT_EQ(p.valueText(), "12");
  EXPECT_EQ(p.errorText(), "");
  EXPECT_FALSE(p.valueChanged());
}

TEST(CheckedExchange, ErrorCodesWithoutACatalogueTextAreNamedByNumber) {
  model::Parameter p;
  makeDecDot(p, "12");
  auto failWith = [&](const Bytes& reply, const std::string& text) {
    return checkedExchange(false, p, [&](link::LinkParameter& w) {
      return deliverErrorReply(w, reply, text);
    });
  };
  EXPECT_EQ(failWith({0x7E}, ""), link::resultCode(link::ParameterResult::Failed));
  EXPECT_EQ(p.errorText(), "Код ошибки прибора 0x7E");
  EXPECT_EQ(p.rowColour(), model::kErrorColour);
  failWith({}, "");
  EXPECT_EQ(p.errorText(), "Прибор ответил ошибкой без кода");
  failWith({0x03}, "Попытка модификации ROM-параметра");
  EXPECT_EQ(p.errorText(), "Попытка модификации ROM-параметра");
  // A graph node beyond the last one: the protocol clears a catalogued text on purpose.
  failWith({0x35}, "");
  EXPECT_EQ(p.errorText(), "");
}

TEST(EngineWrite, AValueItsTypeCannotEncodeIsRefusedBeforeAnythingIsSent) {
  ScriptedTransport transport;
  RecordingPrompt prompt;
  ExchangeEngine engine(transport);
  engine.setPrompt(&prompt);
  TestTree tree;
  model::Parameter& clock = tree.add(tree.root, "rtC", "завтра");
  clock.setTypeDescriptor("Real_Time_Clock");
  clock.setValueChanged(true);
  model::Parameter& text = tree.add(tree.root, "nAME", "abc");
  text.setTypeDescriptor("ASCI");
  model::Parameter& fine = tree.add(tree.root, "rtC", "15.04.2009 10:05:07");
  fine.setTypeDescriptor("Real_Time_Clock");
  engine.beginTask(3);

  EXPECT_EQ(engine.writeOne(clock, true), kResultNotEncodable);
  EXPECT_EQ(clock.errorText(), "Некорректное значение параметра!");
  EXPECT_TRUE(clock.valueChanged());
  EXPECT_EQ(engine.writeOne(text, true), kResultNotEncodable);
  EXPECT_EQ(text.errorText(), model::kNotEncodableText);
  EXPECT_TRUE(transport.log.empty());
  EXPECT_EQ(engine.errorsThisTask(), 2);

  EXPECT_EQ(engine.writeOne(fine, true), 0);
  ASSERT_EQ(transport.log.size(), 1u);
  EXPECT_EQ(transport.log[0].value, "15.04.2009 10:05:07");
  EXPECT_TRUE(prompt.texts().empty());
}

}  // namespace
}  // namespace zelmot::exchange::testing
