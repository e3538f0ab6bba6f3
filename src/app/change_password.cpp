#include "app/change_password.h"

#include "document/program_port_settings.h"
#include "model/enumeration_codec.h"
#include "platform/user_prompt.h"

namespace zelmot::app {
namespace {

const char* valueName(PasswordLevel level) {
  return level == PasswordLevel::Middle ? kMidPasswordValue : kMaxPasswordValue;
}

const char* defaultPassword(PasswordLevel level) {
  return level == PasswordLevel::Middle ? kDefaultMidPassword : kDefaultMaxPassword;
}

void refuse(UserPrompt& prompt, const char* text) {
  prompt.tell(text, kChangePasswordCaption, PromptIcon::Stop);
}

}  // namespace

bool passwordChangeAllowed(int accessLevel, UserPrompt& prompt) {
  if (accessLevel >= model::kMaximalAccessLevel) return true;
  prompt.tell(kPasswordsUnavailableText, kChangePasswordCaption, PromptIcon::Stop);
  return false;
}

std::string ChangePasswordState::readValue(const char* name, const char* fallback) {
  std::string text = fallback;
  status_ = settings_.readString(document::kProgramSettingsKey, name, text);
  return text;
}

std::string ChangePasswordState::storedPassword(PasswordLevel level) {
  return readValue(valueName(level), defaultPassword(level));
}

PasswordChange ChangePasswordState::change(PasswordLevel level, const PasswordFields& typed,
                                           UserPrompt& prompt) {
  if (accessLevel_ < model::kMaximalAccessLevel) {
    refuse(prompt, kNotEnoughRightsText);
    return PasswordChange::NotAllowed;  // the fields go back to what the state holds
  }
  fields_ = typed;
  if (fields_.current != storedPassword(PasswordLevel::Maximum)) {
    refuse(prompt, kWrongMaxPasswordText);
    fields_.current.clear();
    return PasswordChange::WrongCurrent;
  }
  std::string* pair = level == PasswordLevel::Middle ? fields_.middle : fields_.maximum;
  if (pair[0] != pair[1]) {
    refuse(prompt, kPasswordsDifferText);
    pair[0].clear();
    pair[1].clear();
    return PasswordChange::NewDiffer;
  }
  const std::string wanted = pair[0];
  status_ = settings_.writeString(document::kProgramSettingsKey, valueName(level), wanted);
  const std::string readBack = storedPassword(level);
  if (status_ != SettingsStatus::Ok || readBack != wanted) {
    refuse(prompt, kPasswordMaybeUnchangedText);
    return PasswordChange::MaybeUnchanged;
  }
  return PasswordChange::Changed;
}

}  // namespace zelmot::app
