// Arbitrary bytes as (type descriptor, parameter name, decimals, data field) through both
// conversions: nothing may be read or written outside the data given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/my_converter.h"
#include "model/value_context.h"
#include "model/value_text_check.h"

namespace {

const char* const kDescriptors[] = {
    "STORED_DOT", "DEC_dot", "CLK_frm", "Real_Time_Clock", "string", "ASCI", "name",
    "Выкл:Вкл:Авто_режим", "неизвестен",
    // One descriptor of four items, split over two lines.
    ("Не_редактируемо,Блокировано:Редактируемо,Блокировано:"
     "Не_редактируемо,Разблокировано:Редактируемо,Разблокировано")};
const char* const kNames[] = {"x",   "APLY",  "dev",   "ver",   "exit",  "bPS",  "LEn",
                              "PrtY", "Sbit", "A.Len", "Addr",  "rEAd",  "r.CAL", "rd.rg",
                              "Set.P", "r.OUt", "r.oe", "r.kEY", "r.PrG", "r.StP", "r.St"};

template <typename T, size_t N>
const T& pick(const T (&items)[N], uint8_t selector) {
  return items[selector % N];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  zelmot::model::ValueContext context;
  context.setAccessLevel(data[2] & 0x03);
  zelmot::model::MyConverter converter;
  converter.setTypeDescriptor(pick(kDescriptors, data[0]));
  converter.setName(pick(kNames, data[1]));
  converter.setDecimals(static_cast<int8_t>(data[2]) >> 2);
  converter.setContext(&context);
  if (data[2] & 0x80) converter.setLimits(-999.9, 9999.9);

  // Exactly sized copy so that a read past the field is caught by the sanitizer.
  const std::vector<uint8_t> field(data + 3, data + size);
  const int length = static_cast<int>(field.size() > 127 ? 127 : field.size());
  std::string text;
  converter.DataToText(field.empty() ? nullptr : field.data(), length, text);

  std::vector<uint8_t> encoded;
  std::string message;
  converter.TextToData(text, encoded, message);
  const std::string raw(field.begin(), field.end());
  converter.TextToData(raw, encoded, message);
  if (encoded.size() > zelmot::model::MyConverter::kMaxDataSize) __builtin_trap();

  std::string rounded;
  converter.RoundToPrecision(raw, rounded);
  zelmot::model::checkValueText(converter, raw);
  return 0;
}
