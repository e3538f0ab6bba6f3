// zelmot: the desktop configurator. Besides its own long options it understands the
// command line of unattended runs ("/read/port:3/close out.zel", see app/command_line.h).
#include <QApplication>
#include <QMessageBox>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/termination_watch.h"
#include "platform/version.h"
#include "ui/main_frame.h"
#include "ui/qt_prompt.h"
#include "ui/qt_text.h"
#include "ui/translations.h"

namespace {

constexpr const char* kUsage =
    "Использование: zelmot [--port ПУТЬ|COMn] [--data-dir КАТАЛОГ] [--no-check] [КЛЮЧИ] [ФАЙЛ.zel]\n"
    "Конфигуратор прибора ZELMOT.\n"
    "  --port ПУТЬ|COMn     порт вместо заданного в настройках программы\n"
    "  --data-dir КАТАЛОГ   каталог с файлами описания прибора\n"
    "  --no-check           не проверять связь с прибором при запуске\n"
    "  --help, -h           эта справка\n"
    "  --version            версия программы\n"
    "  КЛЮЧИ автоматического запуска: /read /write /calibrate /close /aply /port:N /bps:N\n"
    "    /prty:even|odd|no /addr:A /len:N /sbit:N /alen:N /rs485:auto|off|on\n"
    "    /x:N /y:N /w:N /h:N /autoread:on|off /autowrite:on|off /silent /elog:ФАЙЛ\n"
    "    /exitevent:ИМЯ /test /newnetparam   (несколько в одном ключе: /read/port:3/close)\n"
    "  Без /port обмена с прибором нет: /read тогда ничего не считывает.\n";
constexpr const char* kBadUsageText = "zelmot: неверный параметр командной строки; см. zelmot --help\n";

struct Arguments {
  zelmot::ui::FrameOptions options;
  std::vector<std::string> rest;  // the command line of unattended runs
  bool help = false;
  bool version = false;
  bool bad = false;
};

// "--name" options are the program's own; everything else belongs to the switch grammar.
// Read from argv before Qt starts, so that --help and --version need no display.
Arguments splitArguments(int argc, char** argv) {
  Arguments parsed;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    auto value = [&](std::string& target) {
      if (i + 1 < argc) {
        target = argv[++i];
      } else {
        parsed.bad = true;
      }
    };
    if (argument == "--port") value(parsed.options.port);
    else if (argument == "--data-dir") value(parsed.options.dataDir);
    else if (argument == "--no-check") parsed.options.linkCheckAtStart = false;
    else if (argument == "--help" || argument == "-h") parsed.help = true;
    else if (argument == "--version") parsed.version = true;
    else if (argument.rfind("--", 0) == 0) parsed.bad = true;
    else parsed.rest.push_back(argument);
  }
  return parsed;
}

// Qt aborts when its platform needs a display and there is none; say why instead. The
// platforms that draw without one (offscreen, minimal, ...) are left to Qt.
bool displayMissing() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string name = platform != nullptr ? platform : "";
  const bool needsDisplay = name.empty() || name.rfind("xcb", 0) == 0 || name.rfind("wayland", 0) == 0;
  return needsDisplay && std::getenv("DISPLAY") == nullptr &&
         std::getenv("WAYLAND_DISPLAY") == nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments = splitArguments(argc, argv);
  if (arguments.bad) {
    std::fputs(kBadUsageText, stderr);
    return 2;
  }
  if (arguments.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (arguments.version) {
    std::printf("zelmot %s\n", zelmot::programVersion().c_str());
    return 0;
  }
  if (displayMissing()) {
    std::fputs("zelmot: нет дисплея (не заданы DISPLAY и WAYLAND_DISPLAY). Без дисплея "
               "используйте zelmot-cli.\n",
               stderr);
    return 2;
  }
  // Before any thread exists, so that every thread leaves the signals to the watcher.
  zelmot::app::TerminationWatch termination;
  QApplication application(argc, argv);
  QApplication::setApplicationName("zelmot");
  QApplication::setApplicationVersion(zelmot::ui::toQt(zelmot::programVersion()));
  zelmot::ui::installQtTranslations(application);

  zelmot::ui::FrameOptions& options = arguments.options;
  options.commandLine = zelmot::app::parseCommandLine(arguments.rest);
  const bool unattended = options.commandLine.commandLineMode;

  zelmot::ui::QtPrompt prompt;
  // An unattended run has nobody to close a message box: messages go to standard error.
  prompt.setUnattended(unattended);
  zelmot::ui::CMainFrame frame(prompt, options);
  frame.connectPrompt(prompt);
  std::atomic<zelmot::ui::CMainFrame*> target{&frame};
  termination.start([&target] {
    if (zelmot::ui::CMainFrame* window = target.load()) window->requestClose();
  });
  // On every way out (the early returns too) the watcher ends before the window and
  // `target` go, so a late signal never reaches a destroyed window.
  struct StopWatchFirst {
    zelmot::app::TerminationWatch& watch;
    ~StopWatchFirst() { watch.stop(); }
  } stopWatchFirst{termination};
  std::string error;
  if (!frame.initialise(error)) {
    // An unattended run has nobody to close a message box: the caller reads stderr.
    std::fprintf(stderr, "%s\n", error.c_str());
    if (!unattended) QMessageBox::critical(nullptr, "ZELMOT", zelmot::ui::toQt(error));
    return 2;
  }
  frame.show();
  if (!unattended && !options.commandLine.documentPath.empty()) {
    frame.openFile(zelmot::ui::toQt(options.commandLine.documentPath));
  }
  if (!frame.startUnattendedRun(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  const int status = QApplication::exec();
  termination.stop();
  target.store(nullptr);
  return unattended ? frame.unattendedStatus() : status;
}
