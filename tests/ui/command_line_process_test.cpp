// The zelmot executable driven by its command line, offscreen, against the simulator:
// an unattended read that saves and ends by itself, the named exit event and SIGTERM,
// unattended jobs that cannot run, and the help without a display.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

#include "app/named_exit_event.h"
#include "sim_process.h"

namespace zelmot::ui::testing {
namespace {

constexpr int kComNumber = 6;
constexpr int kRunTimeoutMs = 60000;

// A zelmot process whose settings map COM6 to the simulator's pty: the default mapping
// (a built-in serial port) is never reached.
class ZelmotProcess {
public:
  ZelmotProcess(const QTemporaryDir& dir, const std::string& pty) {
    QFile ini(dir.path() + "/zelmot.ini");
    if (ini.open(QIODevice::WriteOnly)) {
      ini.write(QString("[ports]\nCOM%1=%2\n").arg(kComNumber).arg(QString::fromStdString(pty)).toUtf8());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ZELMOT_CONFIG_DIR", dir.path());
    environment.insert("ZELMOT_HOME", dir.path() + "/home");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(dir.path());
  }
  ~ZelmotProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
  void start(const QStringList& arguments) {
    process_.start(QString(ZELMOT_BIN_DIR) + "/zelmot",
                   QStringList{"--data-dir", ZELMOT_BIN_DIR} + arguments);
    process_.waitForStarted(5000);
  }
  bool finished(int timeoutMs = kRunTimeoutMs) { return process_.waitForFinished(timeoutMs); }
  int exitCode() const { return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1; }
  QProcess& process() { return process_; }

private:
  QProcess process_;
};

QString fastLine(const char* more) {
  return QString("/port:%1/rs485:auto/bps:115200%2").arg(kComNumber).arg(more);
}

TEST(CommandLineProcess, ReadSavesTheFileAndClosesByItself) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_FALSE(sim.slavePath().empty());
  QTemporaryDir dir;
  ZelmotProcess zelmot(dir, sim.slavePath());
  zelmot.start({fastLine("/read/close"), "out.zel"});
  ASSERT_TRUE(zelmot.finished()) << "the program did not end by itself";
  EXPECT_EQ(zelmot.exitCode(), 0) << zelmot.process().readAllStandardError().toStdString();
  QFile saved(dir.path() + "/out.zel");
  ASSERT_TRUE(saved.exists());
  EXPECT_GT(saved.size(), 1000);
}

TEST(CommandLineProcess, ExitEventClosesARunningProgram) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_FALSE(sim.slavePath().empty());
  QTemporaryDir dir;
  const std::string name = "zelmot_gui_test_" + std::to_string(::getpid());
  ZelmotProcess zelmot(dir, sim.slavePath());
  zelmot.start({fastLine("/exitevent:") + QString::fromStdString(name)});
  std::string error;
  bool signalled = false;
  for (int attempt = 0; attempt < 100 && !signalled; ++attempt) {
    signalled = app::NamedExitEvent::signal(name, error);  // once the program has made it
    if (!signalled) zelmot.finished(100);
  }
  ASSERT_TRUE(signalled) << error;
  ASSERT_TRUE(zelmot.finished(20000));
  EXPECT_EQ(zelmot.exitCode(), 0);
}

TEST(CommandLineProcess, TerminationSignalClosesCleanly) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_FALSE(sim.slavePath().empty());
  QTemporaryDir dir;
  ZelmotProcess zelmot(dir, sim.slavePath());
  zelmot.start({fastLine("")});
  ASSERT_FALSE(zelmot.finished(1500)) << "an unattended run without a job keeps running";
  ::kill(static_cast<pid_t>(zelmot.process().processId()), SIGTERM);
  ASSERT_TRUE(zelmot.finished(20000));
  EXPECT_EQ(zelmot.exitCode(), 0) << "closed by the window, not killed by the signal";
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(CommandLineProcess, WriteOfADamagedFileShowsNoBoxSendsNothingAndKeepsTheFile) {
  SimProcess sim({"--log", "--baud", "115200"});
  ASSERT_FALSE(sim.slavePath().empty());
  QTemporaryDir dir;
  const QByteArray damaged(600, '\x5a');
  writeFile(dir.path() + "/damaged.zel", damaged);
  ZelmotProcess zelmot(dir, sim.slavePath());
  // Without the check at start-up every frame on the line would be the job's.
  zelmot.start({"--no-check", fastLine("/write/read/close"), "damaged.zel"});
  ASSERT_TRUE(zelmot.finished()) << "a message box waits for somebody";
  const QString errors = QString::fromUtf8(zelmot.process().readAllStandardError());
  EXPECT_EQ(zelmot.exitCode(), 2) << errors.toStdString();
  EXPECT_TRUE(errors.contains("Не удалось открыть файл")) << errors.toStdString();
  EXPECT_EQ(readFile(dir.path() + "/damaged.zel"), damaged);
  EXPECT_TRUE(sim.log().empty()) << "a frame reached the device";
}

TEST(CommandLineProcess, ReadWithoutAPortSaysNothingWasReadAndKeepsTheFile) {
  QTemporaryDir dir;
  writeFile(dir.path() + "/kept.zel", "the user's own file");
  ZelmotProcess zelmot(dir, "/dev/null-never-opened");
  zelmot.start({"/read/close", "kept.zel"});
  ASSERT_TRUE(zelmot.finished());
  const QString errors = QString::fromUtf8(zelmot.process().readAllStandardError());
  EXPECT_EQ(zelmot.exitCode(), 3) << errors.toStdString();
  EXPECT_TRUE(errors.contains("Ничего не прочитано")) << errors.toStdString();
  EXPECT_EQ(readFile(dir.path() + "/kept.zel"), QByteArray("the user's own file"));
}

TEST(CommandLineProcess, HelpAndVersionNeedNoDisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.insert("QT_QPA_PLATFORM", "xcb");  // the platform that needs a display
  for (const char* option : {"--help", "--version"}) {
    QProcess zelmot;
    zelmot.setProcessEnvironment(environment);
    zelmot.start(QString(ZELMOT_BIN_DIR) + "/zelmot", {option});
    ASSERT_TRUE(zelmot.waitForFinished(20000)) << option;
    EXPECT_EQ(zelmot.exitStatus(), QProcess::NormalExit) << option;
    EXPECT_EQ(zelmot.exitCode(), 0) << option << zelmot.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(zelmot.readAllStandardOutput());
    EXPECT_TRUE(out.startsWith(option == std::string("--help") ? "Использование: zelmot" : "zelmot "))
        << out.toStdString();
  }
}

TEST(CommandLineProcess, WithoutADisplayTheProgramSaysSoInsteadOfAborting) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.insert("QT_QPA_PLATFORM", "xcb");
  QProcess zelmot;
  zelmot.setProcessEnvironment(environment);
  zelmot.start(QString(ZELMOT_BIN_DIR) + "/zelmot", {});
  ASSERT_TRUE(zelmot.waitForFinished(20000));
  EXPECT_EQ(zelmot.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(zelmot.exitCode(), 2);
  EXPECT_TRUE(QString::fromUtf8(zelmot.readAllStandardError()).contains("нет дисплея"));
}

}  // namespace
}  // namespace zelmot::ui::testing
