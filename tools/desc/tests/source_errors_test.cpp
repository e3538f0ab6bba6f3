// Every kind of broken model source stops the build with the file and line of the fault,
// and nothing is written.
#include <gtest/gtest.h>

#include "model_builder.h"
#include "test_support.h"

namespace zelmot::desc {
namespace {

using testing::SmallModel;
using TempDir = test_support::TempFolder;

enum class Part { Constants, Parameters, Tree, TreeOp };

struct BrokenSource {
  const char* what;
  Part part;
  std::string from;  // text replaced in that part ("" appends `to`)
  std::string to;
  const char* file;  // file name the error must name
  int line;          // 0: the error names the file only
  const char* message;
};

void PrintTo(const BrokenSource& c, std::ostream* os) { *os << c.what; }

std::string& partText(SmallModel& model, Part part) {
  switch (part) {
    case Part::Constants: return model.constants;
    case Part::Parameters: return model.parameters;
    case Part::Tree: return model.tree;
    default: return model.treeOp;
  }
}

std::string manyItems(int count) {
  std::string items = "items: [";
  for (int i = 0; i < count; ++i) items += (i ? ", " : "") + std::string("\"v") + std::to_string(i) + "\"";
  return items + "]";
}

class BrokenSourceTest : public ::testing::TestWithParam<BrokenSource> {};

TEST_P(BrokenSourceTest, IsRefusedWithFileAndLine) {
  const BrokenSource& c = GetParam();
  SmallModel model = testing::smallModel();
  std::string& text = partText(model, c.part);
  if (c.from.empty()) {
    text += c.to;
  } else {
    size_t at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    text.replace(at, c.from.size(), c.to);
  }
  TempDir dir;
  testing::writeModel(dir / "model", model);
  SourceErrors errors;
  EXPECT_FALSE(buildModel(dir / "model", dir / "out", errors));
  ASSERT_FALSE(errors.empty());
  bool found = false;
  std::string all;
  for (const auto& error : errors) {
    all += formatError(error) + "\n";
    found = found || (error.file.ends_with(c.file) && error.line == c.line &&
                      error.message.find(c.message) != std::string::npos);
  }
  EXPECT_TRUE(found) << c.what << ": expected " << c.file << ":" << c.line << " '" << c.message << "', got\n" << all;
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "parameters.zip"));
}

const BrokenSource kCases[] = {
    {"unknown parameter in a tree", Part::Tree, "{param: SP, index: i}", "{param: SQ, index: i}", "tree.yaml", 13,
     "неизвестный параметр 'SQ'"},
    {"index out of range", Part::Tree, "{param: in-t, index: i}", "{param: in-t, index: i+1}", "tree.yaml", 12,
     "индекс 4 параметра 'in-t' вне диапазона (0..3)"},
    {"indexed parameter without index", Part::Tree, "{param: in-t, index: i}", "{param: in-t}", "tree.yaml", 12,
     "индексный"},
    {"unknown variable in an index", Part::Tree, "{param: in-t, index: i}", "{param: in-t, index: j}", "tree.yaml",
     12, "неизвестная переменная 'j'"},
    {"branch mixing linear indexes", Part::Tree, "{param: SP, index: i}", "{param: SP, index: (i+1)%4}",
     "tree.yaml", 9, "разными линейными индексами"},
    {"no main branch", Part::Tree, "  marker: 100\n", "", "tree.yaml", 2, "главная"},
    {"main branch in the measurement tree", Part::TreeOp, "  items:", "  marker: 100\n  items:", "tree_op.yaml", 2,
     "главная"},
    {"scheme link to an unknown parameter", Part::Tree, "param: SP, number1", "param: SPX, number1", "tree.yaml", 14,
     "неизвестный параметр 'SPX'"},
    {"yaml syntax error", Part::Tree, "- {param: ver}", "- {param: ver", "tree.yaml", 8, ""},
    {"misspelt key", Part::Parameters, "    type: ASCI\n    readonly: true\n  - name: ver",
     "    type: ASCI\n    colour: red\n    readonly: true\n  - name: ver", "params.yaml", 4,
     "неизвестный ключ 'colour'"},
    {"caption too long in windows-1251", Part::Parameters, "Уставка {n}", std::string(300, 'W'), "params.yaml", 20,
     "не помещается"},
    {"caption with a character windows-1251 lacks", Part::Parameters, "Уставка {n}", "Уставка ✓", "params.yaml", 20,
     "windows-1251"},
    {"enumeration over 127 items", Part::Parameters, "items: [\"Отключен\", \"ТСМ_50М\"]", manyItems(128),
     "params.yaml", 14, "перечисление из 128"},
    {"kind code outside its table", Part::Constants, "maxSensors: 4", "maxSensors: 2", "params.yaml", 14,
     "таблицу C"},
    {"divisor constant zero", Part::Constants, "nKey: 4", "nKey: 0", "params.yaml", 30, "nKey"},
    {"constant beyond 8 bits", Part::Constants, "nObj: 2", "nObj: 300", "constants.yaml", 2, "0..255"},
    {"missing constant", Part::Constants, "  pStep: 5\n", "", "constants.yaml", 0, "pStep"},
    {"element described twice", Part::Parameters, "", "  - name: sp\n    indexes: 2\n    type: STORED_DOT\n",
     "params.yaml", 34, "уже описан"},
    {"name with five code characters", Part::Parameters, "", "  - name: ABCDE\n    type: DEC_dot\n", "params.yaml",
     34, "больше 4"},
    {"two names with one command code", Part::Parameters, "",
     "  - name: ABCD\n    type: DEC_dot\n  - name: ABCD?\n    type: DEC_dot\n", "params.yaml", 36,
     "тот же код команды"},
    {"minimum above maximum", Part::Parameters, "min: -100\n    max: 100", "min: 100\n    max: -100", "params.yaml",
     20, "минимум больше максимума"},
    {"limit beyond the STORED_DOT mantissa", Part::Parameters, "max: 100", "max: 1e9", "params.yaml", 20,
     "мантиссу"},
    {"reversed index range", Part::Parameters, "indexes: 0..3\n    kind", "indexes: 3..0\n    kind", "params.yaml",
     15, "диапазон индексов"},
    {"parameter without type", Part::Parameters, "    type: STORED_DOT\n    min", "    min", "params.yaml", 20,
     "нет типа"},
};

INSTANTIATE_TEST_SUITE_P(Model, BrokenSourceTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BrokenSource>& info) {
                           return "case" + std::to_string(info.index);
                         });

TEST(BrokenSourceTest, SmallModelItselfBuilds) {
  TempDir dir;
  testing::writeModel(dir / "model", testing::smallModel());
  SourceErrors errors;
  EXPECT_TRUE(buildModel(dir / "model", dir / "out", errors));
  for (const auto& error : errors) ADD_FAILURE() << formatError(error);
  for (const auto& name : testing::descriptionFileNames()) EXPECT_TRUE(std::filesystem::exists(dir / "out" / name));
}

TEST(BrokenSourceTest, MissingFolderPartsAreNamed) {
  TempDir dir;
  SourceErrors errors;
  EXPECT_FALSE(buildModel(dir.path(), dir / "out", errors));
  std::string all;
  for (const auto& error : errors) all += formatError(error) + "\n";
  EXPECT_NE(all.find("constants.yaml"), std::string::npos) << all;
  EXPECT_NE(all.find("parameters"), std::string::npos) << all;
}

}  // namespace
}  // namespace zelmot::desc
