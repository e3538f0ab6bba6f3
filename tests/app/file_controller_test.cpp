// The file commands and the unattended job over a document of the compiled model.
#include "app/file_controller.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/unattended_job.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "platform/settings.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

class FileControllerTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)) << "the compiled device model is missing";
    setPoint = doc.root()->FindParameter("SP", 2);
    ASSERT_NE(setPoint, nullptr);
  }
  std::string path(const std::string& name) const { return (dir.path() / name).string(); }
  std::string contents(const std::string& file) const {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void writeFile(const std::string& file, const std::string& bytes) const {
    std::ofstream(file, std::ios::binary) << bytes;
  }

  test_support::TempFolder dir;
  test_support::RecordingPrompt prompt;
  document::CZELMOTDoc doc{&prompt};
  Settings settings{dir.path() / "zelmot.ini"};
  std::string chosen;
  int titles = 0;
  std::vector<bool> replaced;
  FileController files{doc, settings, prompt,
                       {[this](bool, const std::string&) { return chosen; }, [this] { ++titles; },
                        {}, [this](bool opened) { replaced.push_back(opened); }}};
  model::Parameter* setPoint = nullptr;
};

TEST_F(FileControllerTest, SaveAsNewAndOpenRoundTripWithTitleAndRecentList) {
  setPoint->setRawValueText("12.5");
  files.setModified(true);
  EXPECT_EQ(files.title(), "Безымянный* - Configurator - ZELMOT");
  chosen = path("plant");  // the extension is added
  files.saveDocumentAs();
  EXPECT_EQ(files.path(), path("plant.zel"));
  EXPECT_FALSE(files.modified());
  EXPECT_EQ(files.title(), "plant.zel - Configurator - ZELMOT");

  files.newDocument();
  EXPECT_EQ(setPoint->valueText(), "Нет данных");
  EXPECT_TRUE(files.path().empty());
  EXPECT_FALSE(files.configurationLoaded());

  chosen = path("plant.zel");
  files.openDocument();
  EXPECT_EQ(setPoint->valueText(), "12.5");
  EXPECT_TRUE(files.configurationLoaded());
  EXPECT_EQ(replaced, (std::vector<bool>{false, true}));
  EXPECT_GT(titles, 0);
  ASSERT_FALSE(files.recent().paths().empty());
  EXPECT_EQ(files.recent().paths().front(), path("plant.zel"));
  EXPECT_TRUE((prompt.count() == 0));
}

TEST_F(FileControllerTest, AskedBeforeChangesAreLostAndCancelKeepsThem) {
  setPoint->setRawValueText("7.0");
  files.setModified(true);
  prompt.answerQuestionsWith(PromptAnswer::Cancel);
  files.newDocument();
  ASSERT_EQ(prompt.count(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, "Сохранить изменения в Безымянный?");
  EXPECT_EQ(setPoint->valueText(), "7.0");
  prompt.answerQuestionsWith(PromptAnswer::No);
  files.newDocument();
  EXPECT_EQ(setPoint->valueText(), "Нет данных");
}

TEST_F(FileControllerTest, AFileThatDoesNotOpenIsToldAndChangesNothing) {
  setPoint->setRawValueText("3.0");
  files.setModified(true);
  writeFile(path("broken.zel"), "not a configuration");
  EXPECT_FALSE(files.openFile(path("broken.zel")));
  ASSERT_EQ(prompt.count(), 1u);
  EXPECT_EQ(prompt.calls()[0].text.rfind("Не удалось открыть файл " + path("broken.zel") + "\n", 0), 0u);
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Stop);
  EXPECT_EQ(setPoint->valueText(), "3.0");
  EXPECT_TRUE(files.modified());
  EXPECT_TRUE(files.path().empty());
  EXPECT_TRUE(replaced.empty());
}

// --- the unattended job ---

CommandLine unattended(std::vector<std::string> arguments) { return parseCommandLine(arguments); }

TEST_F(FileControllerTest, UnattendedWriteOfADamagedFileRunsNothingAndLeavesTheFile) {
  const std::string file = path("damaged.zel");
  writeFile(file, std::string(300, '\x7f'));
  UnattendedJob job(unattended({"/write/read/port:6/close", file}));
  const UnattendedJob::Plan plan = job.prepare(job.line().job(), files);
  EXPECT_FALSE(plan.task);
  EXPECT_EQ(job.status(), 2);
  EXPECT_EQ(contents(file), std::string(300, '\x7f'));
  job.saveFailed();
  EXPECT_EQ(job.status(), 2) << "the first failure decides";

  // A file that does not exist opens nothing: the write runs and has no values to send.
  UnattendedJob missing(unattended({"/write/port:6", path("none.zel")}));
  EXPECT_EQ(missing.prepare(missing.line().job(), files).task, exchange::TaskCode::WriteAll);
  EXPECT_EQ(missing.status(), 0);
  missing.taskNotStarted();
  EXPECT_EQ(missing.status(), 2) << "a write that never ran is no success";
}

TEST_F(FileControllerTest, UnattendedCalibrationOpensTheDialogsAndEndsTheJob) {
  int calibrations = 0;
  int done = 0;
  UnattendedJob::Hooks hooks;
  hooks.calibrate = [&] { ++calibrations; };
  hooks.done = [&] { ++done; };
  UnattendedJob job(unattended({"/calibrate/port:6"}), hooks);
  job.run(job.line().job(), files);
  EXPECT_EQ(calibrations, 1);
  EXPECT_EQ(done, 0) << "the job ends with the calibration";
  job.calibrationEnded(false, files);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(job.status(), 1) << "nothing committed";

  UnattendedJob noPort(unattended({"/calibrate"}), hooks);
  const UnattendedJob::Plan plan = noPort.prepare(noPort.line().job(), files);
  EXPECT_FALSE(plan.calibrate);
  EXPECT_EQ(plan.message, kNoCalibrationText);
  EXPECT_EQ(noPort.status(), 3);
}

TEST_F(FileControllerTest, UnattendedReadSavesOnlyWhatWasRead) {
  UnattendedJob noPort(unattended({"/read/close", path("out.zel")}));
  const UnattendedJob::Plan plan = noPort.prepare(noPort.line().job(), files);
  EXPECT_FALSE(plan.task);
  EXPECT_EQ(plan.message, kNothingReadText);
  EXPECT_EQ(noPort.status(), 3);

  UnattendedJob read(unattended({"/read/port:6", path("out.zel")}));
  EXPECT_EQ(read.prepare(read.line().job(), files).task, exchange::TaskCode::Read);
  exchange::TaskOutcome silent;
  silent.timeouts = 5;
  silent.suspended = true;
  std::string message;
  EXPECT_FALSE(read.taskEnded(exchange::TaskCode::Read, silent, message));
  EXPECT_EQ(message, kNoAnswerReadText);
  EXPECT_EQ(read.status(), 3);

  UnattendedJob answered(unattended({"/read/port:6", path("out.zel")}));
  exchange::TaskOutcome partly;
  partly.successes = 90;
  partly.errors = 2;
  message.clear();
  EXPECT_TRUE(answered.taskEnded(exchange::TaskCode::Read, partly, message));
  EXPECT_TRUE(message.empty());
  EXPECT_EQ(answered.status(), 1);

  UnattendedJob stopped(unattended({"/read/port:6", path("out.zel")}));
  exchange::TaskOutcome halfWay = partly;
  halfWay.cancelled = true;
  message.clear();
  EXPECT_FALSE(stopped.taskEnded(exchange::TaskCode::Read, halfWay, message));
  EXPECT_EQ(message, kInterruptedReadText);
  EXPECT_EQ(stopped.status(), 1);

  // With write and read only the write runs, and its end saves nothing over the file.
  UnattendedJob both(unattended({"/write/read/port:6", path("out.zel")}));
  EXPECT_FALSE(both.taskEnded(exchange::TaskCode::WriteAll, partly, message));
}

TEST_F(FileControllerTest, UnattendedJobStartsItsTaskAndEndsOnceWhateverHappens) {
  std::vector<std::string> seen;
  bool starts = false;
  auto hooks = [&] {
    return UnattendedJob::Hooks{[&](exchange::TaskCode) {
                                  seen.push_back("start");
                                  return starts;
                                },
                                [&] { seen.push_back("done"); },
                                [&](const std::string& message) { seen.push_back(message); },
                                {}};
  };
  UnattendedJob notStarted(unattended({"/read/port:6", path("out.zel")}), hooks());
  notStarted.run(notStarted.line().job(), files);
  EXPECT_EQ(seen, (std::vector<std::string>{"start", "done"}));
  EXPECT_EQ(notStarted.status(), 2);

  seen.clear();
  UnattendedJob noPort(unattended({"/read/close", path("out.zel")}), hooks());
  noPort.run(noPort.line().job(), files);
  EXPECT_EQ(seen, (std::vector<std::string>{kNothingReadText, "done"})) << "nothing to start";

  seen.clear();
  starts = true;
  setPoint->setRawValueText("12.5");
  UnattendedJob read(unattended({"/read/port:6", path("out.zel")}), hooks());
  read.run(read.line().job(), files);
  EXPECT_EQ(seen, std::vector<std::string>{"start"}) << "the task's end finishes the job";
  exchange::TaskOutcome answered;
  answered.successes = 90;
  read.finish(exchange::TaskCode::Read, answered, files);
  EXPECT_EQ(seen, (std::vector<std::string>{"start", "done"}));
  EXPECT_EQ(read.status(), 0);
  EXPECT_FALSE(contents(path("out.zel")).empty()) << "what was read is saved";
}

}  // namespace
}  // namespace zelmot::app
