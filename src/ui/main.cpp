// zelmot: the desktop configurator.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include "app/version.h"
#include "ui/main_frame.h"
#include "ui/qt_prompt.h"
#include "ui/qt_text.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("zelmot");
  QApplication::setApplicationVersion(zelmot::ui::toQt(zelmot::programVersion()));

  QCommandLineParser parser;
  parser.setApplicationDescription("Configurator - ZELMOT");
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption port("port", "serial port: COMn or a device path (e.g. /dev/pts/3)", "PATH");
  QCommandLineOption dataDir("data-dir", "folder of the description files", "DIR");
  QCommandLineOption noCheck("no-check", "no link check at start-up");
  parser.addOptions({port, dataDir, noCheck});
  parser.addPositionalArgument("file", "configuration file (.zel) to open");
  parser.process(application);

  zelmot::ui::FrameOptions options;
  options.port = zelmot::ui::fromQt(parser.value(port));
  options.dataDir = zelmot::ui::fromQt(parser.value(dataDir));
  options.linkCheckAtStart = !parser.isSet(noCheck);

  zelmot::ui::QtPrompt prompt;
  zelmot::ui::CMainFrame frame(prompt, options);
  prompt.setOwner(&frame);
  std::string error;
  if (!frame.initialise(error)) {
    QMessageBox::critical(nullptr, "ZELMOT", zelmot::ui::toQt(error));
    return 2;
  }
  frame.show();
  if (!parser.positionalArguments().isEmpty()) frame.openFile(parser.positionalArguments().front());
  return QApplication::exec();
}
