#include <gtest/gtest.h>

#include <filesystem>

#include "exchange/elapsed_text.h"
#include "exchange/error_log.h"
#include "exchange/suspension_text.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::exchange {
namespace {

TEST(ProgressTexts, ElapsedWrapsEachField) {
  EXPECT_EQ(formatElapsed(0), "00:00:00");
  EXPECT_EQ(formatElapsed(3661), "01:01:01");
  EXPECT_EQ(formatElapsed(86400 + 59), "00:00:59");  // hours modulo 24
  EXPECT_EQ(formatElapsed(2 * 86400 + 3600, "%D %H%%"), "2 01%");
  EXPECT_EQ(counterText(3, 10), "3 из 10");
  EXPECT_EQ(counterText(3, 0), "");
}

TEST(ProgressTexts, SuspensionMentionsAutomaticReadingOnlyWhenItWasOn) {
  const std::string plain = suspensionText(5, false);
  EXPECT_NE(plain.find("Так как прошло 5 неудачных"), std::string::npos);
  EXPECT_EQ(plain.find("автоматического"), std::string::npos);
  EXPECT_TRUE(plain.ends_with("торможения компьютера\nОперации обмена приостановлены."));
  EXPECT_NE(suspensionText(5, true).find("был отключен.\nВы можете"), std::string::npos);
}

TEST(ErrorLog, AppendsOneLinePerFailure) {
  const test_support::TempFolder folder;
  const auto path = folder / "zelmot_elog.txt";
  ASSERT_TRUE(truncateErrorLog(path.string()));
  EXPECT_TRUE(appendErrorLogLine(path.string(), "Set.P", true, 3, "Таймаут"));
  EXPECT_TRUE(appendErrorLogLine(path.string(), "dev", false, 0, "Ошибка"));
  EXPECT_TRUE(appendErrorLogLine(path.string(), "ver", false, 0, ""));  // nothing to say
  EXPECT_TRUE(appendErrorLogLine("", "ver", false, 0, "x"));              // no log asked
  EXPECT_EQ(test_support::readWholeFile(path), "Set.P:3 - Таймаут\ndev - Ошибка\n");
  EXPECT_FALSE(appendErrorLogLine("/nonexistent-dir/x.log", "a", false, 0, "e"));
}

}  // namespace
}  // namespace zelmot::exchange
