#pragma once
// The access codes of the calibration types and the program-wide count of wrong codes.
// The codes live here and nowhere else: they are not printed in the manual or the help.
#include <string>

namespace zelmot::calibration {

// The code of a calibration type 1..4; -1 for any other type (no code opens it).
int accessCode(int type);

// The typed text as the usual decimal conversion reads it: leading blanks, an optional
// sign, the leading digits; anything else gives 0. At most 256 characters are looked at.
long typedCodeValue(const std::string& text);

bool codeMatches(int type, const std::string& typed);

// Wrong codes in a row over the whole program run (not per dialog). Every fourth one in a
// row closes the set-up; a right code starts the count again. One instance belongs to the
// program (the desktop application, one CLI run) and is handed to each set-up.
class WrongCodeCounter {
public:
  // Counts a wrong code; true when it is a fourth in a row (the count starts again).
  bool countWrong();
  void reset() { count_ = 0; }
  int count() const { return count_; }

private:
  int count_ = 0;
};

}  // namespace zelmot::calibration
