#include "app/protocol_archive.h"

#include <gtest/gtest.h>

#include "app/cleanup_state.h"
#include "model/common_params.h"
#include "model/parameter.h"
#include "support/file_text.h"
#include "support/fixed_clock.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

namespace fs = std::filesystem;

TEST(ProtocolArchive, TheNodeShowsTheCurrentLogAndAFailedAppendMarksTheRow) {
  test_support::TempFolder home;
  test_support::FixedClock clock(31, 12, 2026, 23, 59);
  model::CommonParams common;
  model::Parameter* node = common.addServiceParameter(model::kArchiveParameterName,
                                                      model::kArchiveParameterDescription, "", false);
  ProtocolArchive archive(home.path(), *node, &clock);
  EXPECT_FALSE(archive.enabled());
  archive.rotate();
  EXPECT_EQ(node->valueText(), "31-12-2026.log");
  clock.set(1, 1, 2027, 0, 0);
  archive.rotate();
  EXPECT_EQ(node->valueText(), "01-01-2027.log");

  model::Parameter reading;
  reading.setName("rEAd");
  archive.setEnabled(true);
  EXPECT_FALSE(archive.recordReading(reading));  // "protocol" was never made
  EXPECT_EQ(reading.errorText(), "Ошибка записи в файл");
  EXPECT_TRUE(reading.hasProblem(false));

  fs::create_directory(home / "protocol");
  reading.setErrorText("");
  EXPECT_TRUE(archive.recordReading(reading));
  EXPECT_EQ(reading.errorText(), "");
  EXPECT_EQ(fs::file_size(home / "protocol" / "01-01-2027.log"), 19u);
}

TEST(CleanupState, StartsAtTheCurrentMonthAndDeletesUpToTheChosenOne) {
  test_support::TempFolder dir;
  for (const char* name : {"12-2025.var", "03-2026.var", "04-2026.var"}) {
    test_support::writeWholeFile(dir / name, "x");
  }
  CleanupState state(dir.path(), test_support::FixedClock(15, 4, 2026).now());
  EXPECT_EQ(state.month(), 4);
  EXPECT_EQ(state.year(), 2026);
  state.choose(13, 2026);  // no such month: the choice stays
  EXPECT_EQ(state.month(), 4);
  state.choose(3, 2026);
  EXPECT_EQ(state.accept(), "Количество удаленных файлов: 2.");
  EXPECT_TRUE(fs::exists(dir / "04-2026.var"));
}

}  // namespace
}  // namespace zelmot::app
