#include "state_file.h"

#include <charconv>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "link/frame_codec.h"
#include "model/description_files.h"
#include "value_codec.h"

namespace zelmot::sim {
namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

template <typename Integer>
bool toInteger(const std::string& text, Integer& value) {
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && ptr == text.data() + text.size() && !text.empty();
}

// A value text never holds a tab or a line break, but a catalogue might; keep the file's
// structure whatever it holds.
std::string safeText(const std::string& text) {
  std::string safe = text;
  for (char& c : safe) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return safe;
}

bool restoreValue(ParameterStore& store, const std::vector<std::string>& f) {
  int32_t index = 0;
  if (f.size() != 4 || !toInteger(f[2], index)) return false;
  StoredParameter* parameter = store.find(link::name_hash(f[1]), index);
  if (parameter == nullptr || parameter->kind == ValueKind::RealTimeClock) return false;
  return setEncodableValue(*parameter, f[3]);
}

bool restoreAttributes(ParameterStore& store, const std::vector<std::string>& f) {
  unsigned command = 0;
  int32_t group = 0;
  int editable = 0;
  int factory = 0;
  if (f.size() != 5 || !toInteger(f[1], command) || !toInteger(f[2], group) ||
      !toInteger(f[3], editable) || !toInteger(f[4], factory)) {
    return false;
  }
  auto it = store.attributeGroups().find({static_cast<uint16_t>(command), group});
  if (it == store.attributeGroups().end()) return false;
  it->second = AttributePair{editable != 0, factory != 0};
  return true;
}

bool restoreNetwork(SimDevice& device, const std::vector<std::string>& f) {
  NetworkSettings s;
  int parity = 0;
  if (f.size() != 7 || !toInteger(f[1], s.address) || !toInteger(f[2], s.addressLength) ||
      !toInteger(f[3], s.baud) || !toInteger(f[4], s.dataBits) || !toInteger(f[5], parity) ||
      !toInteger(f[6], s.stopBits) || parity < 0 || parity > 2 || s.address < 0 ||
      s.address > 2047 || s.baud <= 0 || (s.addressLength != 8 && s.addressLength != 11) ||
      (s.dataBits != 7 && s.dataBits != 8) || (s.stopBits != 1 && s.stopBits != 2)) {
    return false;
  }
  s.parity = static_cast<Parity>(parity);
  device.setNetwork(s);
  return true;
}

bool restoreLine(SimDevice& device, const std::vector<std::string>& f) {
  const std::string& kind = f[0];
  if (kind == "value") return restoreValue(device.store(), f);
  if (kind == "attr") return restoreAttributes(device.store(), f);
  if (kind == "network") return restoreNetwork(device, f);
  if (kind == "clock") {
    int64_t offset = 0;
    if (f.size() != 2 || !toInteger(f[1], offset)) return false;
    device.clock().setOffsetSeconds(offset);
    return true;
  }
  if (kind == "errors") {
    uint32_t count = 0;
    if (f.size() != 2 || !toInteger(f[1], count)) return false;
    device.setErrorCount(count);
    return true;
  }
  return false;
}

}  // namespace

bool saveState(SimDevice& device, const std::string& path, std::string& error) {
  std::ostringstream out;
  out << "# zelmot-sim device state\n";
  for (const auto& [key, parameter] : device.store().all()) {
    std::vector<uint8_t> data;
    // The clock and the service values are the device's own; only held values are saved.
    if (parameter.kind == ValueKind::RealTimeClock || !encodeValue(parameter, data)) continue;
    out << "value\t" << parameter.name << '\t' << key.second << '\t'
        << safeText(parameter.value->valueText()) << '\n';
  }
  for (const auto& [key, pair] : device.store().attributeGroups()) {
    out << "attr\t" << key.first << '\t' << key.second << '\t' << (pair.editable ? 1 : 0) << '\t'
        << (pair.factoryOwned ? 1 : 0) << '\n';
  }
  const NetworkSettings& n = device.network();
  out << "network\t" << n.address << '\t' << n.addressLength << '\t' << n.baud << '\t'
      << n.dataBits << '\t' << static_cast<int>(n.parity) << '\t' << n.stopBits << '\n';
  out << "clock\t" << device.clock().offsetSeconds() << '\n';
  out << "errors\t" << device.errorCount() << '\n';
  const std::string text = out.str();
  return model::writeFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

bool restoreState(SimDevice& device, const std::string& path, size_t& skipped,
                  std::string& error) {
  skipped = 0;
  // The non-throwing form: a folder we may not look into is reported, not thrown.
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    if (!ec) return true;
    error = "не удается найти файл состояния " + path + ": " + std::strerror(ec.value());
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!model::readFileBytes(path, bytes, error)) return false;
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (!restoreLine(device, splitTabs(line))) ++skipped;
  }
  return true;
}

}  // namespace zelmot::sim
