// graph: one setpoint-correction graph shown, or written in the order the device demands
// (node count 0, input, nodes, node count), its values checked as the dialog checks them.
#include <cstdio>
#include <memory>
#include <vector>

#include "app/graph_dialog_state.h"
#include "app/parameter_device.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"
#include "cli/single_exchange_status.h"
#include "exchange/exchange_engine.h"

namespace zelmot::cli {
namespace {

constexpr const char* kUnusedRowMark = "(не используется)";

struct GraphArgs {
  int graph = 1;
  bool write = false;
  int input = -1;                  // -1: keep the device's input
  std::vector<std::string> nodes;  // "X:Y"
};

void printGraph(const app::GraphDialogState& state) {
  std::printf("%s\n%s %s\n%s %d\n%s\n", state.caption().c_str(), app::kGraphInputLabel,
              state.inputs()[static_cast<size_t>(state.inputChoice())].c_str(),
              app::kGraphCountLabel, state.nodeCount(), app::kGraphNodesLabel);
  for (int row = 0; row < app::kGraphRows; ++row) {
    std::printf("%s\t%s\t%s%s%s\n", state.cellText(row, app::GraphColumn::Number).c_str(),
                state.cellText(row, app::GraphColumn::X).c_str(),
                state.cellText(row, app::GraphColumn::Y).c_str(), state.greyed(row) ? "\t" : "",
                state.greyed(row) ? kUnusedRowMark : "");
  }
}

// Puts the nodes into the table as the dialog's edits would; false (told) on a refusal.
bool takeNodes(app::GraphDialogState& state, const std::vector<std::string>& nodes) {
  state.setNodeCount(static_cast<int>(nodes.size()));
  for (size_t k = 0; k < nodes.size(); ++k) {
    const size_t colon = nodes[k].find(':');
    if (colon == std::string::npos) {
      std::fprintf(stderr, "Узел %zu: нужно X:Y, а не '%s'\n", k + 1, nodes[k].c_str());
      return false;
    }
    const int row = static_cast<int>(k);
    for (const auto& [column, text] : {std::pair{app::GraphColumn::X, nodes[k].substr(0, colon)},
                                       std::pair{app::GraphColumn::Y, nodes[k].substr(colon + 1)}}) {
      const app::GraphCellEdit edit = state.editCell(row, column, text);
      if (edit.verdict == app::GraphCellEdit::Verdict::Refused) {
        std::fprintf(stderr, "Узел %zu: %s\n", k + 1, edit.message.c_str());
        return false;
      }
    }
  }
  return true;
}

int runGraph(Session& session, const GraphArgs& args) {
  document::CZELMOTDoc& doc = session.doc();
  app::GraphDialogState state(args.graph, doc.root());
  if (!state.unavailable().empty()) {
    std::fprintf(stderr, "%s\n", state.unavailable().c_str());
    return kExitUsage;
  }
  if (args.write && static_cast<int>(args.nodes.size()) > app::kGraphMaxNodes) {
    std::fprintf(stderr, "Узлов графика не больше %d\n", app::kGraphMaxNodes);
    return kExitUsage;
  }
  app::LinkParameterDevice device(doc.deviceLink());
  exchange::ExchangeEngine& engine = doc.deviceLink().engine();
  state.load(device);
  if (device.absent()) return singleExchangeStatus(engine, true, {});
  if (args.write) {
    if (args.input >= 0) state.setInputChoice(args.input);
    if (!takeNodes(state, args.nodes)) return kExitUsage;
    const app::GraphWriteOutcome outcome = state.write(device);
    for (const std::string& error : outcome.errors) std::fprintf(stderr, "%s\n", error.c_str());
    if (!outcome.errors.empty()) return singleExchangeStatus(engine, true, {});
  }
  printGraph(state);
  return kExitOk;
}

}  // namespace

void addGraphCommand(CommandSet& set) {
  auto args = std::make_shared<GraphArgs>();
  CLI::App* graph = set.add("graph", "График коррекции уставки: показать или записать",
                            CommandNeeds::Device,
                            [args](Session& session) { return runGraph(session, *args); });
  graph->add_option("graph", args->graph, "Номер графика: 1 или 2")
      ->required()
      ->type_name("1|2")
      ->check(CLI::Range(1, 2).description(""));
  graph->require_subcommand(1);
  CLI::App* show = graph->add_subcommand("show", "Показать вход и узловые точки графика");
  setRussianHelp(*show);
  CLI::App* put = graph->add_subcommand(
      "set", "Записать вход и узловые точки (X по возрастанию); число узлов = число пар X:Y");
  setRussianHelp(*put);
  put->add_option("--input", args->input,
                  "Вход графика: 0 - не подключен, 1..8 - вычислитель №1..№8 (без опции "
                  "вход не меняется)")
      ->check(CLI::Range(0, 8));
  put->add_option("nodes", args->nodes, "Узловые точки X:Y");
  put->callback([args] { args->write = true; });
}

}  // namespace zelmot::cli
