// A configuration file or the settings file being written when the process is killed is
// left either whole and old or whole and new: never cut short, never mixed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "document/parameter_table.h"
#include "document/zelmot_doc.h"
#include "model/parameter.h"
#include "platform/settings.h"
#include "support/crash_loop.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::document {
namespace {

using Clock = std::chrono::steady_clock;
using test_support::readWholeFile;
using test_support::writeWholeFile;

constexpr int kRounds = 50;

// Random kill points spread over about three runs of the job.
std::chrono::microseconds spreadOver(const std::function<void()>& job) {
  const auto start = Clock::now();
  job();
  const auto once = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  return std::max(std::chrono::microseconds(50'000), 3 * once);
}

struct Outcomes {
  int old = 0;
  int whole = 0;
};

// Runs `job` (which writes `newBytes` to `path`) under random kills; after each kill the
// file must be one of the two and is set back to the old bytes.
Outcomes killWhileWriting(const std::string& path, const std::string& oldBytes,
                          const std::string& newBytes, const std::function<void()>& job) {
  Outcomes outcomes;
  writeWholeFile(path, oldBytes);
  const auto maxDelay = spreadOver(job);
  writeWholeFile(path, oldBytes);
  const auto result = test_support::killAtRandomPoints(kRounds, maxDelay, job, [&](int round) {
    const std::string left = readWholeFile(path);
    if (left == oldBytes) {
      ++outcomes.old;
    } else if (left == newBytes) {
      ++outcomes.whole;
    } else {
      ADD_FAILURE() << "round " << round << ": " << left.size() << " bytes, neither file";
    }
    writeWholeFile(path, oldBytes);
  });
  EXPECT_EQ(result.rounds, kRounds);
  std::printf("%d kills: %d left the old file, %d the new one (%d hit the writer at work)\n",
              result.rounds, outcomes.old, outcomes.whole, result.killedWhileRunning);
  return outcomes;
}

TEST(CrashSafety, AConfigurationFileIsEitherTheOldOrTheNewOne) {
  test_support::TempFolder folder;
  CZELMOTDoc doc;
  ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)) << "the compiled device model is missing";
  model::Parameter* setPoint = doc.root()->FindParameter("SP", 2);
  ASSERT_NE(setPoint, nullptr);

  const std::string path = folder.file("plant.zel");
  ASSERT_TRUE(doc.save(path).ok);
  const std::string oldBytes = readWholeFile(path);
  ASSERT_EQ(setPoint->SetValueText("12.5"), 1);
  ASSERT_TRUE(doc.save(folder.file("new.zel")).ok);
  const std::string newBytes = readWholeFile(folder.file("new.zel"));
  ASSERT_NE(oldBytes, newBytes);

  const Outcomes outcomes = killWhileWriting(path, oldBytes, newBytes, [&] { doc.save(path); });
  EXPECT_EQ(outcomes.old + outcomes.whole, kRounds);
}

TEST(CrashSafety, AParameterTableIsEitherTheOldOrTheNewOne) {
  test_support::TempFolder folder;
  CZELMOTDoc doc;
  ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)) << "the compiled device model is missing";
  model::Parameter* setPoint = doc.root()->FindParameter("SP", 2);
  ASSERT_NE(setPoint, nullptr);

  const std::string path = folder.file("plant.dbf");
  ASSERT_TRUE(exportParameterTable(*doc.root(), path).ok);
  const std::string oldBytes = readWholeFile(path);
  ASSERT_EQ(setPoint->SetValueText("12.5"), 1);
  ASSERT_TRUE(exportParameterTable(*doc.root(), folder.file("new.dbf")).ok);
  const std::string newBytes = readWholeFile(folder.file("new.dbf"));
  ASSERT_NE(oldBytes, newBytes);

  const Outcomes outcomes = killWhileWriting(
      path, oldBytes, newBytes, [&] { exportParameterTable(*doc.root(), path); });
  EXPECT_EQ(outcomes.old + outcomes.whole, kRounds);
}

TEST(CrashSafety, TheSettingsFileIsEitherTheOldOrTheNewOne) {
  test_support::TempFolder folder;
  const std::string path = folder.file("zelmot.ini");
  Settings settings{path};
  for (int i = 0; i < 200; ++i) {
    settings.writeString("Software/Test", "name" + std::to_string(i), std::string(40, 'a'));
  }
  ASSERT_EQ(settings.save(), SettingsStatus::Ok);
  const std::string oldBytes = readWholeFile(path);
  settings.writeString("Software/Test", "name0", "changed");
  ASSERT_EQ(settings.save(), SettingsStatus::Ok);
  const std::string newBytes = readWholeFile(path);

  // A save takes in what another process stored meanwhile, so the job makes its change anew.
  const Outcomes outcomes = killWhileWriting(path, oldBytes, newBytes, [&] {
    settings.writeString("Software/Test", "name0", "changed");
    settings.save();
  });
  EXPECT_EQ(outcomes.old + outcomes.whole, kRounds);
}

}  // namespace
}  // namespace zelmot::document
