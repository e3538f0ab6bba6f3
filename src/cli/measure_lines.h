#pragma once
// The measuring command's pieces that need no device: which measurement parameters a list
// of NAME[:INDEX] names, and the lines printed for each reading.
#include <ctime>
#include <string>
#include <vector>

namespace zelmot::model {
class Parameter;
}

namespace zelmot::cli {

// The parameters of `polled` (the measurement tree's, in tree order) that `names` name:
// all of them when `names` is empty. A name without an index takes every element of that
// name. False with `error` set for a name that is not in the measurement tree.
bool selectPolled(const std::vector<model::Parameter*>& polled,
                  const std::vector<std::string>& names, std::vector<model::Parameter*>& chosen,
                  std::string& error);

// "rEAd:2" for an element of a parameter that has several in `polled`, else "r.kEY".
std::string polledLabel(const model::Parameter& parameter,
                        const std::vector<model::Parameter*>& polled);

// Local time as "YYYY-MM-DD HH:MM:SS".
std::string localTimeText(std::time_t time);

struct ReadingLine {
  std::string time;
  std::string label;
  std::string value;
  std::string error;
};

inline constexpr const char* kReadingCsvHeader = "время,параметр,значение,ошибка";
// Time, label and value separated by tabs, then the error text when there is one.
std::string plainLine(const ReadingLine& line);
// The four fields as CSV, quoted where a field needs it.
std::string csvLine(const ReadingLine& line);

}  // namespace zelmot::cli
