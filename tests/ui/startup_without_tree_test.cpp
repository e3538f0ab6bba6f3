// A missing or damaged main tree is reported and the program goes on without a tree.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "app/command_ids.h"
#include "document/zelmot_doc.h"
#include "model/description_files.h"
#include "sim_process.h"
#include "ui/tree_model.h"

namespace zelmot::ui::testing {
namespace {

// The compiled description files in a folder of their own, the main tree replaced by
// `tree` (not written when null).
bool copyDescriptions(const QTemporaryDir& dir, const QByteArray* tree) {
  for (const char* name : {model::kConstantsFileName, model::kCatalogueFileName,
                           model::kMeasurementTreeFileName}) {
    if (!QFile::copy(QString(ZELMOT_BIN_DIR) + "/" + name, dir.filePath(name))) return false;
  }
  if (tree == nullptr) return true;
  QFile file(dir.filePath(model::kMainTreeFileName));
  return file.open(QIODevice::WriteOnly) && file.write(*tree) == tree->size();
}

std::unique_ptr<CMainFrame> startWith(const QTemporaryDir& dir, RecordingPrompt& prompt) {
  FrameOptions options;
  options.dataDir = dir.path().toStdString();
  options.port = "/dev/null-no-port";
  options.settingsPath = dir.filePath("zelmot.ini").toStdString();
  options.home = dir.filePath("home").toStdString();
  options.linkCheckAtStart = false;
  auto frame = std::make_unique<CMainFrame>(prompt, options);
  std::string error;
  if (!frame->initialise(error)) frame.reset();
  return frame;
}

TEST(StartupWithoutTree, MissingOrDamagedMainTreeIsToldAndTheProgramGoesOn) {
  const QByteArray damaged("\x1f\x8b not a tree at all", 20);
  for (const QByteArray* tree : {static_cast<const QByteArray*>(nullptr), &damaged}) {
    QTemporaryDir dir;
    ASSERT_TRUE(copyDescriptions(dir, tree));
    RecordingPrompt prompt;
    auto frame = startWith(dir, prompt);
    ASSERT_NE(frame, nullptr) << (tree ? "damaged" : "missing");
    EXPECT_EQ(frame->document().root(), nullptr);
    ASSERT_FALSE((prompt.count() == 0));
    EXPECT_EQ(prompt.calls().back().text, "Не опредена корневая ветвь");
    EXPECT_EQ(prompt.calls().back().caption, "Ошибка");

    // The program-side nodes are there (the device's settings among them, having no tree
    // to stand in); whole-device commands say that there is no tree.
    TreeModel& model = frame->treeModel();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.index(1, 0).data().toString(), "Сетевые параметры прибора");
    prompt.clear();
    frame->action(app::kCmdReadAll)->trigger();
    ASSERT_EQ(prompt.count(), 1u);
    EXPECT_EQ(prompt.calls()[0].text, "Дерево не определено");
  }
}

}  // namespace
}  // namespace zelmot::ui::testing
