#include "app/file_controller.h"

#include <filesystem>

#include "app/frame_texts.h"
#include "platform/settings.h"
#include "platform/user_prompt.h"

namespace zelmot::app {
namespace {

constexpr const char* kProgramCaption = "ZELMOT";
constexpr const char* kOpenFailedText = "Не удалось открыть файл ";
constexpr const char* kSaveFailedText = "Не удалось сохранить файл ";

std::string absolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace

FileController::FileController(document::CZELMOTDoc& doc, Settings& settings, UserPrompt& prompt,
                               Hooks hooks)
    : doc_(doc), settings_(settings), prompt_(prompt), hooks_(std::move(hooks)) {
  recent_.load(settings_);
}

void FileController::notify(const std::function<void()>& hook) const {
  if (hook) hook();
}

std::string FileController::title() const { return windowTitle(path_, modified_); }

void FileController::setModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  notify(hooks_.titleChanged);
}

bool FileController::keepOrSaveChanges() {
  if (!modified_) return true;
  const PromptAnswer answer = prompt_.ask(saveChangesQuestion(path_), kProgramCaption,
                                          PromptIcon::Exclamation, PromptButtons::YesNoCancel);
  if (answer == PromptAnswer::Cancel) return false;
  if (answer == PromptAnswer::No) return true;
  saveDocument();
  return !modified_;
}

void FileController::newDocument() {
  if (!keepOrSaveChanges()) return;
  doc_.resetDocument();
  path_.clear();
  configurationLoaded_ = false;
  modified_ = false;
  if (hooks_.documentReplaced) hooks_.documentReplaced(false);
  notify(hooks_.titleChanged);
}

void FileController::openDocument() {
  if (!keepOrSaveChanges() || !hooks_.chooseFile) return;
  const std::string path = hooks_.chooseFile(false, path_);
  if (!path.empty()) openFile(path);
}

void FileController::openRecent(size_t index) {
  if (index >= recent_.paths().size() || !keepOrSaveChanges()) return;
  openFile(recent_.paths()[index]);
}

bool FileController::openFile(const std::string& path) {
  const document::FileResult result = doc_.open(path);
  if (!result.ok) {
    prompt_.tell(kOpenFailedText + path + "\n" + result.message, kProgramCaption, PromptIcon::Stop);
    // A recent entry that no longer opens leaves the list, as it would not open again.
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
      recent_.remove(path);
      recent_.save(settings_);
      notify(hooks_.recentChanged);
    }
    return false;
  }
  configurationLoaded_ = true;
  modified_ = false;
  remember(path);
  if (hooks_.documentReplaced) hooks_.documentReplaced(true);
  return true;
}

void FileController::saveDocument() {
  if (path_.empty()) {
    saveDocumentAs();
    return;
  }
  saveFile(path_);
}

void FileController::saveDocumentAs() {
  if (!hooks_.chooseFile) return;
  const std::string path = hooks_.chooseFile(true, path_);
  if (!path.empty()) saveFile(withConfigurationExtension(path));
}

bool FileController::saveFile(const std::string& path) {
  const document::FileResult result = doc_.save(path);
  if (!result.ok) {
    prompt_.tell(kSaveFailedText + path + "\n" + result.message, kProgramCaption, PromptIcon::Stop);
    return false;
  }
  modified_ = false;
  remember(path);
  return true;
}

void FileController::remember(const std::string& path) {
  path_ = absolutePath(path);
  recent_.add(path_);
  recent_.save(settings_);
  notify(hooks_.recentChanged);
  notify(hooks_.titleChanged);
}

}  // namespace zelmot::app
