// Checks of a typed value: refusals with and without a warning, limits with their
// tolerance, rounding with its notice, the accepted text, and the range message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/my_converter.h"
#include "model/value_context.h"
#include "model/value_text_check.h"
#include "platform/user_prompt.h"
#include "support/recording_prompt.h"

namespace zelmot::model {
namespace {

using test_support::RecordingPrompt;

class ValueTextCheck : public testing::Test {
protected:
  ValueTextCheck() {
    context.setPrompt(&prompt);
    converter.setName("x");
    converter.setContext(&context);
  }

  ValueCheck check(const std::string& descriptor, int decimals, double minimum, double maximum,
                   const std::string& typed) {
    converter.setTypeDescriptor(descriptor);
    converter.setDecimals(decimals);
    converter.setLimits(minimum, maximum);
    prompt.clear();
    return checkValueText(converter, typed);
  }

  RecordingPrompt prompt;
  ValueContext context;
  MyConverter converter;
};

struct CheckCase {
  std::string descriptor;
  int decimals;
  double minimum;
  double maximum;
  std::string typed;
  int result;
  bool limitsRefusal;
  std::string accepted;
  std::string shown;  // the one message shown, empty for none
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.descriptor << " '" << c.typed << "'";
}

class CheckTable : public ValueTextCheck, public testing::WithParamInterface<CheckCase> {};

TEST_P(CheckTable, AcceptsOrRefuses) {
  const CheckCase& c = GetParam();
  const ValueCheck result = check(c.descriptor, c.decimals, c.minimum, c.maximum, c.typed);
  EXPECT_EQ(result.result, c.result);
  EXPECT_EQ(result.limitsRefusal, c.limitsRefusal);
  if (c.result == 1) {
    EXPECT_EQ(result.acceptedText, c.accepted);
  }
  if (c.shown.empty()) {
    EXPECT_TRUE(prompt.calls().empty()) << prompt.calls().front().text;
  } else {
    ASSERT_EQ(prompt.calls().size(), 1u);
    EXPECT_EQ(prompt.calls()[0].text, c.shown);
  }
}

const char* kInvalid = "Некорректное значение параметра!";
const char* kTooLarge = "Значение слишком велико для формата параметра";

INSTANTIATE_TEST_SUITE_P(
    StoredDot, CheckTable,
    testing::Values(
        CheckCase{"STORED_DOT", 0, 0, 0, "12.5", 1, false, "12.500", ""},
        CheckCase{"STORED_DOT", 0, 0, 0, "-0.25", 1, false, "-0.250", ""},
        CheckCase{"STORED_DOT", 0, 0, 0, "-0", 1, false, "0.000", ""},
        CheckCase{"STORED_DOT", 0, 0, 0, "12.3456", 1, false, "12.346", ""},
        CheckCase{"STORED_DOT", 2, 0, 0, "12.3456", 1, false, "12.340",
                  "Значение было округлено с 12.3456 до 12.34"},
        CheckCase{"STORED_DOT", 0, -999.9, 9999.9, "12.3456", 1, false, "12.340",
                  "Значение было округлено с 12.3456 до 12.34"},
        CheckCase{"STORED_DOT", 0, 0, 0, "12,5", 0, false, "", kInvalid},
        CheckCase{"STORED_DOT", 0, 0, 0, "1e3", 0, false, "", kInvalid},
        CheckCase{"STORED_DOT", 0, 0, 0, "1-2", 0, false, "", kInvalid},
        CheckCase{"STORED_DOT", 0, 0, 0, "", 0, false, "", kInvalid},
        CheckCase{"STORED_DOT", 0, 0, 0, " 5", 0, false, "", kInvalid},
        // Limits with the tolerance of 0.0009, refused without a message.
        CheckCase{"STORED_DOT", 0, 0, 100, "100.0008", 1, false, "100.000",
                  "Значение было округлено с 100.0008 до 100"},
        CheckCase{"STORED_DOT", 0, 0, 100, "100.001", 0, true, "", ""},
        CheckCase{"STORED_DOT", 0, -5, 5, "-5.001", 0, true, "", ""},
        // The limits allow one digit of mantissa at floating decimals.
        CheckCase{"STORED_DOT", 0, -5, 5, "-4.999", 1, false, "-4.000",
                  "Значение было округлено с -4.999 до -4"},
        // Values the layout cannot carry are refused when typed, not when written.
        CheckCase{"STORED_DOT", 0, 0, 0, "300000000", 0, false, "", kTooLarge},
        CheckCase{"STORED_DOT", 3, 0, 0, "300000", 0, false, "", kTooLarge}));

INSTANTIATE_TEST_SUITE_P(
    Integers, CheckTable,
    testing::Values(
        CheckCase{"CLK_frm", 0, 0, 0, "12:34", 1, false, "12:34", ""},
        CheckCase{"CLK_frm", 0, 0, 0, "5", 1, false, "00:05", ""},
        // Accepted as one hour, two minutes, three seconds, and stored so that exactly
        // that is sent.
        CheckCase{"CLK_frm", 0, 0, 0, "1:2:3", 1, false, "62:03", ""},
        CheckCase{"CLK_frm", 0, 0, 3723, "1:2:3", 1, false, "62:03", ""},
        CheckCase{"CLK_frm", 0, 0, 3722, "1:2:3", 0, true, "", ""},
        CheckCase{"CLK_frm", 0, 60, 120, "59", 0, true, "", ""},
        CheckCase{"CLK_frm", 0, 0, 0, "1:2:3:4", 0, false, "", kInvalid},
        CheckCase{"CLK_frm", 0, 0, 0, "12.34", 0, false, "", kInvalid},
        CheckCase{"CLK_frm", 0, 0, 0, "", 0, false, "", kInvalid},
        CheckCase{"CLK_frm", 0, 0, 0, "18:12:16", 0, false, "", kTooLarge},
        CheckCase{"DEC_dot", 0, 0, 0, "42", 1, false, "42", ""},
        CheckCase{"DEC_dot", 0, 0, 0, "007", 1, false, "7", ""},
        CheckCase{"DEC_dot", 0, 0, 0, "-1", 0, false, "", kInvalid},
        CheckCase{"DEC_dot", 0, 0, 0, "4.5", 0, false, "", kInvalid},
        CheckCase{"DEC_dot", 0, 0, 0, "", 0, false, "", kInvalid},
        CheckCase{"DEC_dot", 0, 0, 0, "65536", 0, false, "", kTooLarge},
        CheckCase{"DEC_dot", 0, 0, 0, "99999999999999999999", 0, false, "", kTooLarge},
        CheckCase{"DEC_dot", 0, 1, 10, "10", 1, false, "10", ""},
        CheckCase{"DEC_dot", 0, 1, 10, "11", 0, true, "", ""},
        CheckCase{"DEC_dot", 0, 1, 10, "0", 0, true, "", ""},
        CheckCase{"DEC_dot", 0, 1, 10, "99999999999999999999", 0, true, "", ""}));

INSTANTIATE_TEST_SUITE_P(
    OtherTypes, CheckTable,
    testing::Values(CheckCase{"Выкл:Вкл", 0, 0, 0, "что угодно", 1, false, "что угодно", ""},
                    CheckCase{"name", 0, 0, 0, "AB.1", 1, false, "AB.1", ""},
                    CheckCase{"ASCI", 0, 0, 0, "", 1, false, "", ""}));

TEST_F(ValueTextCheck, WarningsAndNoticesUseTheirCaptionsAndIcons) {
  check("STORED_DOT", 0, 0, 0, "abc");
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].caption, "Предупреждение");
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Exclamation);

  check("STORED_DOT", 1, 0, 0, "1.25");
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Information);
}

TEST_F(ValueTextCheck, WorksWithoutAPromptOrContext) {
  context.setPrompt(nullptr);
  EXPECT_EQ(check("STORED_DOT", 0, 0, 0, "abc").result, 0);
  converter.setContext(nullptr);
  EXPECT_EQ(check("STORED_DOT", 1, 0, 0, "1.25").acceptedText, "1.200");
}

TEST(RangeMessage, ThreeDecimalsForStoredDotNoneForIntegers) {
  MyConverter converter;
  converter.setLimits(-999.9, 9999.9);
  converter.setTypeDescriptor("STORED_DOT");
  EXPECT_EQ(rangeMessage(converter), "Допустимый диапазон значений: от -999.900 до 9999.900");
  converter.setLimits(1, 250);
  converter.setTypeDescriptor("DEC_dot");
  EXPECT_EQ(rangeMessage(converter), "Допустимый диапазон значений: от 1 до 250");
}

}  // namespace
}  // namespace zelmot::model
