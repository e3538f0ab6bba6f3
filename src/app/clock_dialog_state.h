#pragma once
// "Дата и время": the device clock edited field by field. The fields present in the clock
// value decoded last fix the lowest and the highest block, and so which fields the written
// value holds; "Синхронизация с компьютером" fills them from the computer's local time.
// The view shows this state and forwards clicks; the write itself goes through
// writeClock(), off the window's thread.
#include <array>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "model/value_context.h"

namespace zelmot::model {
class Parameter;
}

namespace zelmot::exchange {
class PollScheduler;
}  // namespace zelmot::exchange

namespace zelmot::app {

class ParameterDevice;

inline constexpr const char* kClockCaption = "Дата и время";
inline constexpr const char* kClockSyncButton = "Синхронизация с компьютером";
inline constexpr const char* kClockSyncTooltip =
    "Синхронизация времени прибора с системным временем компьютера.";
inline constexpr const char* kClockWriteAtOnceText =
    "При синхронизации произвести сразу запись новых значений в прибор.";
inline constexpr const char* kClockLowestBlockLabel = "Младший блок:";
inline constexpr const char* kClockHighestBlockLabel = "Старший блок:";
inline constexpr const char* kClockParameterName = "rtC";
inline constexpr int kClockFieldCount = 7;
inline constexpr int kClockFieldWidth = 2;  // characters of an edit field

// Field labels by field index (fraction of a second first, year last).
inline constexpr std::array<const char*, kClockFieldCount> kClockFieldLabels = {
    "Доли секунды:", "Секунды:", "Минуты:", "Часы:", "День:", "Месяц:", "Год:"};

// The parameter whose value cell opens the clock dialog.
bool isClockParameter(const model::Parameter& parameter);

class ClockDialogState {
public:
  // The fields of the clock value decoded last (-1 for a field absent from it).
  explicit ClockDialogState(const model::ClockFields& decoded);

  bool present(int field) const { return present_[static_cast<size_t>(field)]; }
  const std::string& fieldText(int field) const { return texts_[static_cast<size_t>(field)]; }
  void setFieldText(int field, std::string text);
  // -1 when no field is present (then nothing can be written).
  int lowestBlock() const { return lowest_; }
  int highestBlock() const { return highest_; }
  // "Младший блок:" lists the fields 0 .. highest block, "Старший блок:" lowest .. 6.
  std::vector<std::string> lowestBlockChoices() const;
  std::vector<std::string> highestBlockChoices() const;

  bool writeAtOnce = true;  // the check box, ticked when the dialog opens

  // Fills year, month, day, hours, minutes and seconds from `local` (the fraction stays).
  // True when "OK" is to follow at once (the check box is ticked).
  bool synchroniseWith(const std::tm& local);

  // Why the fields cannot be written ("" when they can): a field between the blocks
  // that is empty or out of its range would reach the device as a wrong byte.
  std::string refusal() const;
  // The value text the parameter is written with: year down to fraction, the fields
  // between the blocks each followed by "|" (month and day counted from 0), then the
  // format byte lowest + 16 × count. Only meaningful when refusal() is empty.
  std::string valueText() const;

private:
  std::array<std::string, kClockFieldCount> texts_;
  std::array<bool, kClockFieldCount> present_{};
  int lowest_ = -1;
  int highest_ = -1;
};

// Name of a field: its label without the colon.
std::string clockFieldName(int field);

// Stops the parameter's periodic reading around a write; `pause` says whether it was
// running (only then is `resume` called). Empty hooks: nothing is paused.
struct PollPause {
  std::function<bool(model::Parameter&)> pause;
  std::function<void(model::Parameter&)> resume;
};

// The polling scheduler's reading of the parameter: stopped when it runs, started again
// after (its period starts anew).
PollPause schedulerPause(exchange::PollScheduler& scheduler);

// Sets the parameter's value text to `valueText` and writes it, the poll paused around
// the write; a written clock is read back. The write's result (0 written).
int writeClock(model::Parameter& parameter, const std::string& valueText, ParameterDevice& device,
               const PollPause& pollPause);

}  // namespace zelmot::app
