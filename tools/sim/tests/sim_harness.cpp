#include "sim_harness.h"

#include <gtest/gtest.h>

#include "link/frame_codec.h"
#include "support/catalogue_records.h"

namespace zelmot::sim::testing {
namespace {

using test_support::addIndexed;
using test_support::attributed;
using test_support::limited;
using test_support::readOnly;

// The device rules do not look at captions; the name doubles as one.
model::CatalogueRecord record(const std::string& name, const std::string& type,
                              const std::string& initial, int32_t index = -1) {
  model::CatalogueRecord r = test_support::catalogueRecord(name, type, initial, index);
  r.caption = name;
  return r;
}

const std::set<std::string> kOperativeNames = {"rEAd", "r.CAL", "Set.P", "r.OUt", "r.oe", "r.Cn"};

}  // namespace

std::vector<model::CatalogueRecord> testCatalogue() {
  std::vector<model::CatalogueRecord> r;
  r.push_back(record("dev", "ASCI", ""));
  r.push_back(record("ver", "ASCI", ""));
  r.push_back(record("exit", "DEC_dot", "0"));
  r.push_back(record("n.Err", "DEC_dot", "0"));
  r.push_back(record("APLY", "DEC_dot", ""));
  r.push_back(record("bPS", "2400:4800:9600:14400:19200:28800:38400:57600:115200", "9600"));
  r.push_back(record("LEn", "7:8", "8"));
  r.push_back(record("PrtY", "Отсутствует:Четность:Нечетность", "Отсутствует"));
  r.push_back(record("Sbit", "1:2", "1"));
  r.push_back(record("A.Len", "8:11", "8"));
  r.push_back(limited(record("Addr", "DEC_dot", "16"), 0, 2047));
  r.push_back(limited(record("SP", "STORED_DOT", "100.0"), -50, 500, 1));
  r.push_back(record("Kp", "STORED_DOT", "2.5"));
  r.push_back(limited(record("Ti", "CLK_frm", "01:30"), 0, 3600));
  r.push_back(limited(record("Cnt", "DEC_dot", "5"), 0, 1000));
  r.push_back(record("NetN", "name", "AB.1"));
  r.push_back(readOnly(record("Ident", "ASCI", "Z-12")));
  r.push_back(readOnly(limited(record("Lock", "DEC_dot", "7"), 0, 100)));
  r.push_back(attributed(record("Prot", "DEC_dot", "3"), 1, false, true));
  r.push_back(attributed(record("Own", "DEC_dot", "4"), 1, true, false));
  r.push_back(record("rtC", "Real_Time_Clock", ""));
  addIndexed(r, attributed(record("Mode", "Выкл:Ручной:Авто", "Ручной"), 2, true, false), 0, 3);
  r[r.size() - 2].editable = 0;  // group 1 (indexes 2 and 3) is locked
  addIndexed(r, record("in.Gr", "Не_подключен:Вычислитель_№1:Вычислитель_№2", "Не_подключен"), 0, 1);
  addIndexed(r, limited(record("Node", "DEC_dot", "0"), 0, 10), 0, 10, 10);
  addIndexed(r, record("absc", "STORED_DOT", "0"), 0, 19);
  addIndexed(r, record("ordn", "STORED_DOT", "0"), 0, 19);
  addIndexed(r, readOnly(record("rEAd", "STORED_DOT", "0")), 0, 7);
  addIndexed(r, readOnly(record("Set.P", "STORED_DOT", "0")), 0, 7);
  addIndexed(r, readOnly(record("r.Cn", "Разомкнут:Замкнут", "Разомкнут")), 0, 7);
  r.push_back(limited(record("n.Obj", "DEC_dot", "2"), 1, 4));
  r.push_back(limited(record("n.Ch", "DEC_dot", "2"), 1, 8));
  r.push_back(readOnly(record("S.idx", "DEC_dot", "10")));
  r.push_back(readOnly(record("S.SAU", "DEC_dot", "2")));
  addIndexed(r, record("A.i.j", "DEC_dot", "0"), 0, 3);
  addIndexed(r, limited(record("Shift", "STORED_DOT", "0"), -100, 100, 2), 0, 7);
  return r;
}

std::set<int32_t> testOperativeRecords(const std::vector<model::CatalogueRecord>& records) {
  std::set<int32_t> operative;
  for (size_t i = 0; i < records.size(); ++i) {
    if (kOperativeNames.count(records[i].name)) operative.insert(static_cast<int32_t>(i));
  }
  return operative;
}

ParameterStore testStore() {
  const auto records = testCatalogue();
  ParameterStore store;
  store.build(records, testOperativeRecords(records));
  return store;
}

SimHarness::SimHarness(SimOptions options)
    : SimHarness(options, testCatalogue(), testOperativeRecords(testCatalogue())) {}

SimHarness::SimHarness(SimOptions options, std::vector<model::CatalogueRecord> records,
                       const std::set<int32_t>& operative)
    : records_(std::move(records)) {
  for (int32_t i : operative) operativeNames_.insert(records_[static_cast<size_t>(i)].name);
  ParameterStore store;
  store.build(records_, operative);
  device_ = std::make_unique<SimDevice>(options, std::move(store));
  std::string error;
  if (!line_.openPseudoTerminal(slavePath_, error)) {
    ADD_FAILURE() << error;
    return;
  }
  server_ = std::make_unique<SimServer>(options, *device_, line_, &log_);
  thread_ = std::thread([this] { outcome_ = server_->run(stopEvent_.fd()); });
  link_.port().setPortName(slavePath_);
  // An automatic converter: no per-character pacing of the request on a pseudo-terminal.
  link_.port().setConverterMode(link::ConverterMode::Automatic);
  link_.setBaseAddress(options.address);
  link_.setAddressLength(options.addressLength);
  EXPECT_EQ(link_.port().open_port(), link::OpenResult::Ok) << link_.port().lastErrorText();
}

SimHarness::~SimHarness() { stop(); }

SimServer::Outcome SimHarness::stop() {
  if (!stopped_) {
    stopped_ = true;
    link_.port().close_port();
    stopEvent_.set();
    if (thread_.joinable()) thread_.join();
  }
  return outcome_;
}

std::unique_ptr<model::Parameter> SimHarness::parameter(const std::string& name, int32_t index) {
  auto p = std::make_unique<model::Parameter>();
  const model::CatalogueRecord* match = nullptr;
  for (const model::CatalogueRecord& r : records_) {
    if (r.name == name && (match == nullptr || r.linearIndex == index)) match = &r;
  }
  if (match != nullptr) {
    // An index the catalogue lacks still travels like the catalogue's own elements.
    model::CatalogueRecord r = *match;
    r.linearIndex = index;
    {
      p->fillFromCatalogueRecord(r);
      if (operativeNames_.count(name) && index >= 0) {
        p->setRequestIndex(index);  // the index of an operative parameter is in the address
        p->setHasLinearIndex(false);
      }
      return p;
    }
  }
  p->setName(name);  // not in the catalogue: a name the device does not know
  p->setTypeDescriptor("DEC_dot");
  return p;
}

int SimHarness::read(model::Parameter& parameter) {
  return link::resultCode(link_.exchange_parameter(1, parameter, nullptr));
}

int SimHarness::write(model::Parameter& parameter, const std::string& valueText) {
  parameter.setRawValueText(valueText);
  return link::resultCode(link_.exchange_parameter(0, parameter, nullptr));
}

SimHarness::Raw SimHarness::transact(int requestFlag, const std::string& name,
                                     std::vector<uint8_t> data, int addressOffset) {
  Raw raw;
  raw.result = link_.transact_frame(requestFlag, link::name_hash(name), data.data(), data.size(),
                                    raw.reply, raw.errorText, addressOffset);
  return raw;
}

}  // namespace zelmot::sim::testing
