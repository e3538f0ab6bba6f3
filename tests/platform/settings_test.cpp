#include "platform/settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <fstream>
#include <sstream>
#include <thread>

#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot {
namespace {

namespace fs = std::filesystem;
using TempDir = zelmot::test_support::TempFolder;

constexpr const char* kKey = "Software/Kavrel/ZELMOT";

using test_support::readWholeFile;
using test_support::writeWholeFile;

mode_t modeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info.st_mode & 07777;
}

// Files beside the settings other than the file itself and its lock.
int temporaryFiles(const fs::path& settingsFile) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(settingsFile.parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name != settingsFile.filename() && name != "." + settingsFile.filename().string() + ".lock") {
      ++count;
    }
  }
  return count;
}

class SettingsTest : public ::testing::Test {
protected:
  TempDir dir;
  fs::path file = dir.path() / "cfg" / "zelmot.ini";
};

TEST_F(SettingsTest, StringsRoundTripThroughTheFile) {
  const std::string values[] = {
      "",  "COM3", "Пароль «№1»", "a=b # not a comment", "  padded  ", "line1\nline2\ttab\\",
      "[group]", ";semicolon",
  };
  Settings writer(file);
  int i = 0;
  for (const auto& value : values) {
    ASSERT_EQ(writer.writeString(kKey, "v" + std::to_string(i++), value), SettingsStatus::Ok)
        << writer.lastError();
  }
  Settings reader(file);
  i = 0;
  for (const auto& value : values) {
    std::string out = "unchanged";
    EXPECT_EQ(reader.readString(kKey, "v" + std::to_string(i++), out), SettingsStatus::Ok);
    EXPECT_EQ(out, value);
  }
}

TEST_F(SettingsTest, IntegersAndBinaryRoundTrip) {
  Settings settings(file);
  for (std::uint32_t value : {0u, 16u, 9600u, 4294967295u}) {
    ASSERT_EQ(settings.writeInt(kKey, "baud_rate", value), SettingsStatus::Ok);
    std::uint32_t out = 1;
    EXPECT_EQ(Settings(file).readInt(kKey, "baud_rate", out), SettingsStatus::Ok);
    EXPECT_EQ(out, value);
  }
  std::vector<std::uint8_t> all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<std::uint8_t>(b));
  for (const auto& bytes : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0}, all}) {
    ASSERT_EQ(settings.writeBinary(kKey, "hash", bytes), SettingsStatus::Ok);
    std::vector<std::uint8_t> out{9, 9};
    EXPECT_EQ(Settings(file).readBinary(kKey, "hash", out), SettingsStatus::Ok);
    EXPECT_EQ(out, bytes);
  }
}

TEST_F(SettingsTest, MissingKeyAndValueGiveTheirCodesAndLeaveTheDefault) {
  Settings settings(file);
  std::string out = "default";
  EXPECT_EQ(settings.readString(kKey, "port_number", out), SettingsStatus::KeyNotOpened);
  ASSERT_EQ(settings.writeString(kKey, "other", "x"), SettingsStatus::Ok);
  EXPECT_EQ(settings.readString(kKey, "port_number", out), SettingsStatus::ValueAbsent);
  EXPECT_EQ(settings.readString("Software/Kavrel/Devices/ZELMOT", "name", out),
            SettingsStatus::KeyNotOpened);
  std::uint32_t number = 7;
  EXPECT_EQ(settings.readInt(kKey, "RS485type", number), SettingsStatus::ValueAbsent);
  EXPECT_EQ(out, "default");
  EXPECT_EQ(number, 7u);
  EXPECT_EQ(statusCode(SettingsStatus::ValueAbsent), 3);
}

TEST_F(SettingsTest, BackslashKeyPathsNameTheSameGroup) {
  Settings settings(file);
  ASSERT_EQ(settings.writeString("Software\\Kavrel\\ZELMOT", "RS485type", "1"), SettingsStatus::Ok);
  std::uint32_t out = 0;
  EXPECT_EQ(settings.readInt(kKey, "RS485type", out), SettingsStatus::Ok);
  EXPECT_EQ(out, 1u);
  EXPECT_NE(readWholeFile(file).find("[Software/Kavrel/ZELMOT]"), std::string::npos);
}

TEST_F(SettingsTest, WriteCreatesPrivateFolderAndFileWithoutLeftovers) {
  Settings settings(file);
  ASSERT_EQ(settings.writeString(kKey, "password_mid_level", "secret"), SettingsStatus::Ok);
  EXPECT_EQ(modeOf(file), 0600u);
  EXPECT_EQ(modeOf(file.parent_path()), 0700u);
  ASSERT_EQ(settings.writeString(kKey, "password_max_level", "other"), SettingsStatus::Ok);
  EXPECT_EQ(modeOf(file), 0600u);
  EXPECT_EQ(temporaryFiles(file), 0) << "temporary files left behind";
}

TEST_F(SettingsTest, DeletedValueIsGoneFromTheFileAndASecondDeleteSaysAbsent) {
  Settings settings(file);
  EXPECT_EQ(settings.deleteValue(kKey, "address"), SettingsStatus::KeyNotOpened);
  ASSERT_EQ(settings.writeInt(kKey, "address", 16), SettingsStatus::Ok);
  EXPECT_EQ(settings.deleteValue(kKey, "address"), SettingsStatus::Ok);
  EXPECT_EQ(settings.deleteValue(kKey, "address"), SettingsStatus::ValueAbsent);
  std::string out;
  EXPECT_EQ(Settings(file).readString(kKey, "address", out), SettingsStatus::ValueAbsent);
}

TEST_F(SettingsTest, FileWithByteOrderMarkLoads) {
  fs::create_directories(file.parent_path());
  writeWholeFile(file, "\xEF\xBB\xBF# edited on Windows\n[Software/Kavrel/ZELMOT]\nport_number=3\n");
  Settings settings(file);
  EXPECT_EQ(settings.load(), SettingsStatus::Ok);
  std::uint32_t port = 0;
  EXPECT_EQ(settings.readInt(kKey, "port_number", port), SettingsStatus::Ok);
  EXPECT_EQ(port, 3u);
}

TEST_F(SettingsTest, MissingFileIsAnEmptyStore) {
  Settings settings(file);
  EXPECT_EQ(settings.load(), SettingsStatus::Ok);
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(SettingsTest, CommentsAndOtherGroupsSurviveAWrite) {
  fs::create_directories(file.parent_path());
  writeWholeFile(file, "# keep me\n[ports]\nCOM1=/dev/ttyUSB0\n");
  Settings settings(file);
  ASSERT_EQ(settings.writeInt(kKey, "RS485type", 0), SettingsStatus::Ok);
  const std::string text = readWholeFile(file);
  EXPECT_NE(text.find("# keep me"), std::string::npos);
  EXPECT_NE(text.find("COM1=/dev/ttyUSB0"), std::string::npos);
}

TEST_F(SettingsTest, DamagedFileFailsWithoutCrashingAndIsKeptAsideOnWrite) {
  const std::string garbage[] = {
      "no group line\n", "[unterminated\nkey=1\n", "[g]\nkey without equals\n",
      std::string("[g]\nk=\0v\n", 9), std::string("\xFF\xFE\x00\x01garbage", 11),
  };
  fs::create_directories(file.parent_path());
  for (const auto& text : garbage) {
    SCOPED_TRACE(::testing::PrintToString(text));
    writeWholeFile(file, text);
    Settings settings(file);
    EXPECT_EQ(settings.load(), SettingsStatus::Failed);
    EXPECT_FALSE(settings.lastError().empty());
    std::string out = "default";
    EXPECT_EQ(settings.readString("g", "key", out), SettingsStatus::Failed);
    EXPECT_EQ(out, "default");

    ASSERT_EQ(settings.writeString(kKey, "name", "ZELMOT"), SettingsStatus::Ok);
    EXPECT_EQ(readWholeFile(file.string() + ".damaged"), text);
    EXPECT_EQ(Settings(file).readString(kKey, "name", out), SettingsStatus::Ok);
    EXPECT_EQ(out, "ZELMOT");
  }
}

// A value typed in another code page cannot be read, but spoils neither its neighbours nor
// the file when something else is written.
TEST_F(SettingsTest, ValueInAnotherCodePageFailsAloneAndSurvivesWrites) {
  fs::create_directories(file.parent_path());
  const std::string cp1251Value = "\xCF\xE0\xF0\xEE\xEB\xFC";
  writeWholeFile(file, "[Software/Kavrel/ZELMOT]\npassword_mid_level=" + cp1251Value + "\nport_number=2\n");
  Settings settings(file);
  EXPECT_EQ(settings.load(), SettingsStatus::Ok);
  std::string out = "default";
  EXPECT_EQ(settings.readString(kKey, "password_mid_level", out), SettingsStatus::Failed);
  EXPECT_EQ(out, "default");
  std::uint32_t port = 0;
  EXPECT_EQ(settings.readInt(kKey, "port_number", port), SettingsStatus::Ok);
  ASSERT_EQ(settings.writeInt(kKey, "baud_rate", 9600), SettingsStatus::Ok);
  EXPECT_NE(readWholeFile(file).find(cp1251Value), std::string::npos);
}

TEST_F(SettingsTest, PathThatIsAFolderCannotBeRead) {
  fs::create_directories(file);
  Settings settings(file);
  EXPECT_EQ(settings.load(), SettingsStatus::Failed);
}

// Limits the size of files this process may write, so that a write fails even for root
// (who ignores folder rights). SIGXFSZ is ignored meanwhile, so write() fails with EFBIG.
class ScopedFileSizeLimit {
public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldHandler_);
  }

private:
  rlimit old_{};
  sighandler_t oldHandler_;
};

TEST_F(SettingsTest, FailedWriteReportsFailureAndKeepsTheOldValue) {
  Settings settings(file);
  ASSERT_EQ(settings.writeString(kKey, "password_mid_level", "old"), SettingsStatus::Ok);
  const std::string before = readWholeFile(file);
  {
    ScopedFileSizeLimit limit(before.size() + 4);
    EXPECT_EQ(settings.writeString(kKey, "password_mid_level", std::string(200, 'n')),
              SettingsStatus::Failed);
    EXPECT_EQ(settings.writeString(kKey, "new_value", "x"), SettingsStatus::Failed);
  }
  EXPECT_FALSE(settings.lastError().empty());
  std::string out;
  EXPECT_EQ(settings.readString(kKey, "password_mid_level", out), SettingsStatus::Ok);
  EXPECT_EQ(out, "old");
  EXPECT_EQ(settings.readString(kKey, "new_value", out), SettingsStatus::ValueAbsent);
  EXPECT_EQ(readWholeFile(file), before);
  EXPECT_EQ(temporaryFiles(file), 0) << "temporary file left behind";
}

TEST_F(SettingsTest, WriteFailsWhenTheFolderCannotBeMade) {
  writeWholeFile(dir.path() / "plain", "");
  Settings settings(dir.path() / "plain" / "zelmot.ini");
  EXPECT_EQ(settings.writeString(kKey, "v", "x"), SettingsStatus::Failed);
  EXPECT_NE(settings.lastError().find("plain"), std::string::npos);
}

TEST_F(SettingsTest, IntegerTextsThatAreNotDwordsFailToRead) {
  Settings settings(file);
  for (const char* text : {"", "-1", "4294967296", "12abc", "0x10", "+5", "1.5"}) {
    SCOPED_TRACE(text);
    ASSERT_EQ(settings.writeString(kKey, "baud_rate", text), SettingsStatus::Ok);
    std::uint32_t out = 42;
    EXPECT_EQ(settings.readInt(kKey, "baud_rate", out), SettingsStatus::Failed);
    EXPECT_EQ(out, 42u);
  }
}

TEST_F(SettingsTest, MalformedBase64FailsToRead) {
  Settings settings(file);
  for (const char* text : {"abc", "ab!=", "====", "a===", "YW=j"}) {
    SCOPED_TRACE(text);
    ASSERT_EQ(settings.writeString(kKey, "hash", text), SettingsStatus::Ok);
    std::vector<std::uint8_t> out{1};
    EXPECT_EQ(settings.readBinary(kKey, "hash", out), SettingsStatus::Failed);
    EXPECT_EQ(out, std::vector<std::uint8_t>{1});
  }
}

TEST_F(SettingsTest, NamesTheFileCannotHoldAreRefused) {
  Settings settings(file);
  EXPECT_EQ(settings.writeString("", "v", "x"), SettingsStatus::KeyNotOpened);
  EXPECT_EQ(settings.writeString("Soft[ware]", "v", "x"), SettingsStatus::KeyNotOpened);
  EXPECT_EQ(settings.writeString("a\nb", "v", "x"), SettingsStatus::KeyNotOpened);
  for (const char* name : {"", "a=b", "a[ru]", "#c", " pad", "a\nb"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(settings.writeString(kKey, name, "x"), SettingsStatus::Failed);
  }
  EXPECT_EQ(settings.writeString(kKey, "v", "bad \xC3 utf8"), SettingsStatus::Failed);
  EXPECT_EQ(settings.writeString(kKey, "v", std::string_view("a\0b", 3)), SettingsStatus::Failed);
  std::string out;
  ASSERT_EQ(settings.writeString(kKey, "a", "1"), SettingsStatus::Ok);
  EXPECT_EQ(settings.readString(kKey, "a=b", out), SettingsStatus::ValueAbsent);
}

// Two program instances share the file: neither loses the other's writes.
TEST_F(SettingsTest, ChangesFromAnotherInstanceArePickedUp) {
  Settings first(file);
  Settings second(file);
  ASSERT_EQ(first.writeInt(kKey, "address", 16), SettingsStatus::Ok);
  std::uint32_t address = 0;
  EXPECT_EQ(second.readInt(kKey, "address", address), SettingsStatus::Ok);
  EXPECT_EQ(address, 16u);
  ASSERT_EQ(second.writeInt(kKey, "baud_rate", 9600), SettingsStatus::Ok);
  ASSERT_EQ(first.writeInt(kKey, "stop_bits", 1), SettingsStatus::Ok);
  std::uint32_t baud = 0;
  EXPECT_EQ(Settings(file).readInt(kKey, "baud_rate", baud), SettingsStatus::Ok);
  EXPECT_EQ(baud, 9600u);
}

TEST_F(SettingsTest, ConcurrentWritersFromSeveralThreadsAllLand) {
  Settings settings(file);
  constexpr int kThreads = 4;
  constexpr int kWrites = 10;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kWrites; ++i) {
        const std::string name = "t" + std::to_string(t) + "_" + std::to_string(i);
        EXPECT_EQ(settings.writeInt(kKey, name, static_cast<std::uint32_t>(i)), SettingsStatus::Ok);
        std::uint32_t out = 0;
        EXPECT_EQ(settings.readInt(kKey, name, out), SettingsStatus::Ok);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  Settings reader(file);
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kWrites; ++i) {
      std::uint32_t out = 99;
      EXPECT_EQ(reader.readInt(kKey, "t" + std::to_string(t) + "_" + std::to_string(i), out),
                SettingsStatus::Ok);
      EXPECT_EQ(out, static_cast<std::uint32_t>(i));
    }
  }
}

// Two processes writing at the same time: each read-change-write is done under the file
// lock, so neither overwrites the other's values with its older copy of the file.
TEST_F(SettingsTest, ConcurrentProcessesDoNotLoseWrites) {
  constexpr int kProcesses = 2;
  constexpr int kWrites = 20;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      Settings settings(file);
      bool ok = true;
      for (int i = 0; i < kWrites; ++i) {
        const std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
        ok = settings.writeInt(kKey, name, static_cast<std::uint32_t>(i)) == SettingsStatus::Ok && ok;
      }
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = -1;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Settings reader(file);
  for (int p = 0; p < kProcesses; ++p) {
    for (int i = 0; i < kWrites; ++i) {
      std::uint32_t out = 99;
      EXPECT_EQ(reader.readInt(kKey, "p" + std::to_string(p) + "_" + std::to_string(i), out),
                SettingsStatus::Ok);
    }
  }
}

}  // namespace
}  // namespace zelmot
