// The password change: the checks in their order, what is written to the settings file and
// the read-back warning.
#include "app/change_password.h"

#include <gtest/gtest.h>

#include <fstream>

#include "document/program_port_settings.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

using test_support::RecordingPrompt;

class ChangePasswordTest : public ::testing::Test {
protected:
  std::string stored(const char* name) {
    std::string text = "<absent>";
    Settings(dir / "zelmot.ini").readString(document::kProgramSettingsKey, name, text);
    return text;
  }
  PasswordFields typed(const std::string& current, const std::string& first,
                       const std::string& second, PasswordLevel level = PasswordLevel::Middle) {
    PasswordFields fields;
    fields.current = current;
    std::string* pair = level == PasswordLevel::Middle ? fields.middle : fields.maximum;
    pair[0] = first;
    pair[1] = second;
    return fields;
  }

  test_support::TempFolder dir;
  Settings settings{dir / "zelmot.ini"};
  RecordingPrompt prompt;
  ChangePasswordState state{settings, 2};
};

TEST_F(ChangePasswordTest, WithoutAStoredPasswordTheBuiltInMaximumDefaultIsTheCurrentOne) {
  EXPECT_STRNE(kDefaultMidPassword, kDefaultMaxPassword);
  EXPECT_EQ(std::string(kDefaultMaxPassword).size(), 1u);
  EXPECT_EQ(state.change(PasswordLevel::Middle, typed(kDefaultMaxPassword, "abc", "abc"), prompt),
            PasswordChange::Changed);
  EXPECT_TRUE(prompt.texts().empty()) << "success is not announced";
  EXPECT_EQ(stored(kMidPasswordValue), "abc");
  EXPECT_EQ(state.settingsStatus(), 0);
}

TEST_F(ChangePasswordTest, TheMiddleDefaultIsNotTheCurrentPassword) {
  EXPECT_EQ(state.change(PasswordLevel::Middle, typed(kDefaultMidPassword, "x", "x"), prompt),
            PasswordChange::WrongCurrent);
  EXPECT_EQ(prompt.texts(), std::vector<std::string>{kWrongMaxPasswordText});
  EXPECT_EQ(state.fields().current, "");
  EXPECT_EQ(state.fields().middle[0], "x") << "only the current password is cleared";
  EXPECT_EQ(stored(kMidPasswordValue), "<absent>");
}

TEST_F(ChangePasswordTest, ComparisonIsExactAndCaseSensitive) {
  ASSERT_EQ(state.change(PasswordLevel::Maximum, typed("2", "Secret", "Secret", PasswordLevel::Maximum),
                         prompt),
            PasswordChange::Changed);
  EXPECT_EQ(state.change(PasswordLevel::Middle, typed("secret", "m", "m"), prompt),
            PasswordChange::WrongCurrent);
  EXPECT_EQ(state.change(PasswordLevel::Middle, typed("Secret ", "m", "m"), prompt),
            PasswordChange::WrongCurrent);
  EXPECT_EQ(state.change(PasswordLevel::Middle, typed("Secret", "m", "m"), prompt),
            PasswordChange::Changed);
  EXPECT_EQ(stored(kMaxPasswordValue), "Secret");
  EXPECT_EQ(stored(kMidPasswordValue), "m");
}

TEST_F(ChangePasswordTest, MismatchingNewPasswordsClearBothAndWriteNothing) {
  for (PasswordLevel level : {PasswordLevel::Middle, PasswordLevel::Maximum}) {
    prompt.clear();
    EXPECT_EQ(state.change(level, typed("2", "one", "two", level), prompt), PasswordChange::NewDiffer);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{kPasswordsDifferText});
    const std::string* pair = level == PasswordLevel::Middle ? state.fields().middle
                                                             : state.fields().maximum;
    EXPECT_EQ(pair[0], "");
    EXPECT_EQ(pair[1], "");
    EXPECT_EQ(state.fields().current, "2");
  }
  EXPECT_EQ(stored(kMidPasswordValue), "<absent>");
  EXPECT_EQ(stored(kMaxPasswordValue), "<absent>");
}

TEST_F(ChangePasswordTest, AnEmptyNewPasswordIsStoredAsEmptyWithoutWarning) {
  EXPECT_EQ(state.change(PasswordLevel::Middle, typed("2", "", ""), prompt), PasswordChange::Changed);
  EXPECT_TRUE(prompt.texts().empty());
  EXPECT_EQ(stored(kMidPasswordValue), "");
  EXPECT_EQ(state.storedPassword(PasswordLevel::Middle), "");
}

TEST_F(ChangePasswordTest, BelowTheFullLevelNothingIsTakenOrWritten) {
  ChangePasswordState lower(settings, 1);
  EXPECT_EQ(lower.change(PasswordLevel::Middle, typed("2", "a", "a"), prompt),
            PasswordChange::NotAllowed);
  EXPECT_EQ(prompt.texts(), std::vector<std::string>{kNotEnoughRightsText});
  EXPECT_EQ(lower.fields().current, "") << "the typed texts are not taken";
  EXPECT_EQ(stored(kMidPasswordValue), "<absent>");

  prompt.clear();
  EXPECT_FALSE(passwordChangeAllowed(1, prompt));
  EXPECT_EQ(prompt.texts(), std::vector<std::string>{kPasswordsUnavailableText});
  EXPECT_TRUE(passwordChangeAllowed(2, prompt));
}

TEST(ChangePasswordFailure, AFileThatCannotBeWrittenGivesTheReadBackWarning) {
  test_support::TempFolder dir;
  std::ofstream(dir / "blocker") << "a file where the settings folder should be";
  Settings settings{dir / "blocker" / "zelmot.ini"};
  RecordingPrompt prompt;
  ChangePasswordState state(settings, 2);
  PasswordFields fields;
  fields.current = kDefaultMaxPassword;
  fields.maximum[0] = fields.maximum[1] = "new";
  EXPECT_EQ(state.change(PasswordLevel::Maximum, fields, prompt), PasswordChange::MaybeUnchanged);
  EXPECT_EQ(prompt.texts(), std::vector<std::string>{kPasswordMaybeUnchangedText});
  EXPECT_GT(state.settingsStatus(), 0);
  EXPECT_EQ(state.storedPassword(PasswordLevel::Maximum), kDefaultMaxPassword);
}

}  // namespace
}  // namespace zelmot::app
