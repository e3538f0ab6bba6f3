#pragma once
// CChangePassword's state and algorithm: the two passwords (middle and maximum level) are
// plain values of the program's settings key. A change needs the full access level and the
// current maximum-level password; the new password is typed twice, written and read back.
#include <string>

#include "platform/settings.h"

namespace zelmot {
class UserPrompt;
}

namespace zelmot::app {

inline constexpr const char* kMidPasswordValue = "password_mid_level";
inline constexpr const char* kMaxPasswordValue = "password_max_level";
// Used while the settings hold no password of that level.
inline constexpr const char* kDefaultMidPassword = "1";
inline constexpr const char* kDefaultMaxPassword = "2";

inline constexpr const char* kChangePasswordCaption = "Изменение пароля";
inline constexpr const char* kCurrentPasswordLabel = "Введите текущий пароль полного доступа:";
inline constexpr const char* kMidPasswordLabel =
    "Введите два раза новый пароль среднего уровня доступа, если хотите его изменить:";
inline constexpr const char* kMaxPasswordLabel =
    "Введите два раза новый пароль максимального уровня доступа, если хотите его изменить:";
inline constexpr const char* kChangeButtonText = "Изменить!";
inline constexpr const char* kCloseButtonText = "Закрыть";

inline constexpr const char* kPasswordsUnavailableText =
    "Данная функция не доступна на текущем уровне доступа!\nСмена паролей возможна только на "
    "максимальном уровне доступа";
inline constexpr const char* kNotEnoughRightsText = "Не достаточно прав для выполнения этой операции";
inline constexpr const char* kWrongMaxPasswordText = "Пароль максимального доступа введен неверно!";
inline constexpr const char* kPasswordsDifferText =
    "Новые пароли в первом и во втором окне не совпадают!";
inline constexpr const char* kPasswordMaybeUnchangedText =
    "Внимание: возможно, что пароль изменить не удалось!\nПричина заключается скорее всего в "
    "некорректной\nинсталяции (установки) программы.\nПереустановите программу";

// The "Смена паролей" command: true when the level allows the dialog, else tells why.
bool passwordChangeAllowed(int accessLevel, UserPrompt& prompt);

enum class PasswordLevel { Middle, Maximum };

// What the dialog's fields hold.
struct PasswordFields {
  std::string current;
  std::string middle[2];
  std::string maximum[2];
};

enum class PasswordChange {
  NotAllowed,     // the level is below the full one
  WrongCurrent,   // the current maximum-level password was mistyped
  NewDiffer,      // the two new passwords differ
  Changed,        // written and read back
  MaybeUnchanged, // written, but the read-back failed or differs (the warning was shown)
};

class ChangePasswordState {
public:
  ChangePasswordState(Settings& settings, int accessLevel)
      : settings_(settings), accessLevel_(accessLevel) {}

  // The fields the dialog shows; after change() the view shows these again.
  const PasswordFields& fields() const { return fields_; }
  // The status of the last settings operation (0 ok, 1 failed, 2 key not opened, 3 absent).
  int settingsStatus() const { return statusCode(status_); }

  // "Изменить!" beside the pair of `level` with the fields as typed.
  PasswordChange change(PasswordLevel level, const PasswordFields& typed, UserPrompt& prompt);

  // The stored password of a level, or its default when there is none.
  std::string storedPassword(PasswordLevel level);

private:
  std::string readValue(const char* name, const char* fallback);

  Settings& settings_;
  int accessLevel_;
  PasswordFields fields_;
  SettingsStatus status_ = SettingsStatus::Ok;
};

}  // namespace zelmot::app
