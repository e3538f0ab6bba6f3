#include "app/parameter_list_export.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <ctime>

#include "model/parameter_list_page.h"
#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/os_error.h"
#include "platform/paths.h"
#include "platform/version.h"

namespace zelmot::app {

namespace {

constexpr mode_t kPageMode = 0644;

std::string writeFailureText(const std::filesystem::path& path, int code) {
  return withOsError("Не удается записать файл \"" + path.string() + "\"", code);
}

// The user's time locale when its texts are UTF-8, else the C locale.
locale_t timeLocale() {
  locale_t user = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (user != static_cast<locale_t>(0) && std::strcmp(nl_langinfo_l(CODESET, user), "UTF-8") == 0) {
    return user;
  }
  if (user != static_cast<locale_t>(0)) freelocale(user);
  return newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
}

}  // namespace

std::filesystem::path defaultParameterListPath() {
  const std::filesystem::path home = programHomeDir();
  return home.empty() ? home : home / "temp" / "parlist.html";
}

std::string currentDateText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[256] = {};
  const locale_t locale = timeLocale();
  if (locale == static_cast<locale_t>(0)) return {};
  const size_t size = strftime_l(text, sizeof text, "%A, %B %d, %Y", &local, locale);
  freelocale(locale);
  return std::string(text, size);
}

PageResult writeParameterList(const model::DescBranch* root, const std::filesystem::path& path) {
  PageResult result;
  if (root == nullptr) {
    result.message = kTreeUndefinedText;
    return result;
  }
  std::string error;
  if (path.empty() || !ensureDir(path.parent_path().empty() ? "." : path.parent_path(), &error)) {
    result.message = "Не удается создать папку для \"" + path.string() + "\": " + error;
    return result;
  }
  const model::PageFooter footer{programBuildDateTime(), currentDateText()};
  const std::string page =
      utf8ToCp1251(model::parameterListPage(model::collectParameterSummaries(*root), footer));
  const FileWriteResult written = writeFileAtomically(path, page, kPageMode);
  if (!written.ok()) {
    result.message = writeFailureText(path, written.osError);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace zelmot::app
