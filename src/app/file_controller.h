#pragma once
// The window's file commands without the window: new, open, save, save as, the recent
// files and the question before unsaved changes would be lost. The window shows the state
// (title, recent-files menu, tree) when told that it changed.
#include <functional>
#include <string>

#include "app/recent_files.h"
#include "document/zelmot_doc.h"

namespace zelmot {
class Settings;
class UserPrompt;
}  // namespace zelmot

namespace zelmot::app {

class FileController {
public:
  struct Hooks {
    // Chooses a file to open (save false) or to save; empty: cancelled.
    std::function<std::string(bool save, const std::string& suggested)> chooseFile;
    std::function<void()> titleChanged;      // path or modified flag
    std::function<void()> recentChanged;     // the recent-files list
    // The document's values were replaced; `opened`: from a file, with its port settings.
    std::function<void(bool opened)> documentReplaced;
  };

  FileController(document::CZELMOTDoc& doc, Settings& settings, UserPrompt& prompt, Hooks hooks);

  // True when the changes may go: nothing changed, saved, or the user said No.
  bool keepOrSaveChanges();
  void newDocument();
  void openDocument();
  void openRecent(size_t index);
  void saveDocument();
  void saveDocumentAs();
  // Open and save without asking for a name; a failure is told with the file's name.
  bool openFile(const std::string& path);
  bool saveFile(const std::string& path);

  const std::string& path() const { return path_; }
  bool modified() const { return modified_; }
  void setModified(bool modified);
  bool configurationLoaded() const { return configurationLoaded_; }
  void setConfigurationLoaded(bool loaded) { configurationLoaded_ = loaded; }
  const RecentFiles& recent() const { return recent_; }
  std::string title() const;

private:
  void remember(const std::string& path);
  void notify(const std::function<void()>& hook) const;

  document::CZELMOTDoc& doc_;
  Settings& settings_;
  UserPrompt& prompt_;
  Hooks hooks_;
  RecentFiles recent_;
  std::string path_;
  bool modified_ = false;
  bool configurationLoaded_ = false;
};

}  // namespace zelmot::app
