// The parameter table end to end: what the export writes (checked byte by byte and by
// dbfread), a table edited by another program imported back, and tables that are refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/dbf_writer.h"
#include "document/parameter_table.h"
#include "model/desc_branch.h"
#include "model/tree_support.h"
#include "platform/code_page.h"
#include "support/external_program.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::document {
namespace {

using ::testing::HasSubstr;
using model::testing::makeParameter;
using test_support::readWholeFile;

struct Tree {
  std::vector<std::unique_ptr<model::Parameter>> store;
  model::DescBranch root;

  model::Parameter& add(model::DescBranch& branch, const std::string& name, int32_t index,
                        const std::string& caption, const std::string& value) {
    store.push_back(makeParameter(name, index, caption));
    store.back()->setRawValueText(value);
    branch.addParameter(store.back().get());
    return *store.back();
  }
};

// SP:0, SP:1 and Kp at the root, a string parameter in a child branch.
struct SampleTree : Tree {
  model::Parameter& sp0 = add(root, "SP", 0, "Уставка №1", "12.5");
  model::Parameter& sp1 = add(root, "SP", 1, "Уставка №1", "-3");
  model::Parameter& kp = add(root, "Kp", -1, "Коэффициент", "1.0");
  model::Parameter* text = nullptr;

  SampleTree() {
    sp1.setRequestIndex(1);
    sp1.setEditable(true);
    sp1.setPrivacy(0x1203);
    sp1.setErrorText("Таймаут при передаче данных (нет связи)");
    kp.setFactoryOwned(true);
    auto child = std::make_unique<model::DescBranch>();
    text = &add(*child, "dev", -1, "Тип прибора", std::string(70, 'x') + "конец");
    root.addChild(std::move(child));
  }
};

class ParameterTable : public ::testing::Test {
protected:
  test_support::TempFolder folder;
  std::string table = folder.file("table.dbf");

  std::string python(const std::string& module) {
    return test_support::pythonWithModule(module, folder.path());
  }
  std::string tool() const { return std::string(ZELMOT_SOURCE_DIR) + "/tests/document/dbf_tool.py"; }
  test_support::ProgramRun runTool(const std::string& py, std::vector<std::string> args) {
    args.insert(args.begin(), {py, tool()});
    return test_support::runProgram(args, folder.path());
  }
};

TEST_F(ParameterTable, ExportWritesOneOemRecordPerParameter) {
  SampleTree tree;
  const TableResult written = exportParameterTable(tree.root, table);
  ASSERT_TRUE(written.ok) << written.message;
  EXPECT_EQ(written.records, 4);
  const std::string bytes = readWholeFile(table);
  ASSERT_EQ(bytes.size(), 513u + 4u * 261u + 1u);
  EXPECT_EQ(static_cast<uint8_t>(bytes.back()), 0x1A);
  const std::string second = bytes.substr(513 + 261, 261);
  EXPECT_EQ(second.substr(0, 1 + 4 + 9), "    0SP       ");
  EXPECT_EQ(second.substr(14, 80), utf8ToCp866("Уставка №1") + std::string(70, ' '));
  EXPECT_EQ(second.substr(94, 64), "-3" + std::string(62, ' '));
  // HASLINDEX, LINDEX, DADDRESS, CANWRITE, ATRACCESS, ATROWNER.
  EXPECT_EQ(second.substr(158, 1 + 8 + 4 + 3), "T       1   1TTF");
  EXPECT_EQ(second.substr(174, 80), dbfTextCell(utf8ToCp866("Таймаут при передаче данных (нет связи)"), 80));
  EXPECT_EQ(second.substr(254, 7), "FFF   3");
  // A value longer than its column keeps its last 64 characters.
  const std::string fourth = bytes.substr(513 + 3 * 261, 261);
  EXPECT_EQ(fourth.substr(94, 64), utf8ToCp866(std::string(59, 'x') + "конец"));
}

TEST_F(ParameterTable, DbfreadSeesEveryColumnAndValue) {
  const std::string py = python("dbfread");
  if (py.empty()) GTEST_SKIP() << "python3-dbfread is not installed";
  SampleTree tree;
  ASSERT_TRUE(exportParameterTable(tree.root, table).ok);
  const test_support::ProgramRun dump = runTool(py, {"dump", table});
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_EQ(dump.out,
            "CONF_ID:N:4:0\tNAME:C:9:0\tDESC:C:80:0\tVALUE:C:64:0\tHASLINDEX:L:1:0\tLINDEX:N:8:0\t"
            "DADDRESS:N:4:0\tCANWRITE:L:1:0\tATRACCESS:L:1:0\tATROWNER:L:1:0\tERROR:C:80:0\t"
            "NEEDUPDTE:L:1:0\tNEEDU_ACC:L:1:0\tNEEDU_OWN:L:1:0\tPRIVACY:N:4:0\n"
            "0\tSP\tУставка №1\t12.5\tTrue\t0\t0\tTrue\tTrue\tFalse\t\tFalse\tFalse\tFalse\t0\n"
            "0\tSP\tУставка №1\t-3\tTrue\t1\t1\tTrue\tTrue\tFalse\t"
            "Таймаут при передаче данных (нет связи)\tFalse\tFalse\tFalse\t3\n"
            "0\tKp\tКоэффициент\t1.0\tFalse\t0\t0\tTrue\tTrue\tTrue\t\tFalse\tFalse\tFalse\t0\n"
            "0\tdev\tТип прибора\t" + std::string(59, 'x') + "конец" +
                "\tFalse\t0\t0\tTrue\tTrue\tFalse\t\tFalse\tFalse\tFalse\t0\n");
}

TEST_F(ParameterTable, TableEditedElsewhereImportsBack) {
  const std::string py = python("dbfread");
  if (py.empty()) GTEST_SKIP() << "python3 is not installed";
  SampleTree tree;
  ASSERT_TRUE(exportParameterTable(tree.root, table).ok);
  ASSERT_EQ(runTool(py, {"set", table, "SP", "1", "VALUE", "42.25"}).exitCode, 0);
  ASSERT_EQ(runTool(py, {"set", table, "SP", "1", "ERROR", ""}).exitCode, 0);
  ASSERT_EQ(runTool(py, {"set", table, "dev", "0", "VALUE", "Регулятор"}).exitCode, 0);
  ASSERT_EQ(runTool(py, {"delete", table, "Kp", "0"}).exitCode, 0);

  SampleTree fresh;
  const ImportResult imported = importParameterTable(fresh.root, table);
  ASSERT_TRUE(imported.table.ok) << imported.table.message;
  EXPECT_EQ(imported.table.records, 3);
  EXPECT_EQ(fresh.sp0.valueText(), "12.5");
  EXPECT_EQ(fresh.sp1.valueText(), "42.25");
  EXPECT_EQ(fresh.sp1.errorText(), "");
  EXPECT_TRUE(fresh.sp1.editable());
  EXPECT_EQ(fresh.text->valueText(), "Регулятор");
  // The deleted row's parameter is reset and named.
  EXPECT_EQ(fresh.kp.valueText(), "Нет данных");
  EXPECT_EQ(imported.missingCount, 1);
  EXPECT_EQ(missingParametersText(imported.missing), "След. параметры небыли определены:\nKp (Коэффициент)");
}

TEST_F(ParameterTable, RoundTripKeepsValuesFlagsAndErrors) {
  SampleTree tree;
  tree.sp0.setRawValueText("Нет данных");
  tree.kp.setValueChanged(true);
  ASSERT_TRUE(exportParameterTable(tree.root, table).ok);
  SampleTree fresh;
  fresh.sp0.setRawValueText("99");
  const ImportResult imported = importParameterTable(fresh.root, table);
  ASSERT_TRUE(imported.table.ok);
  EXPECT_EQ(imported.missingCount, 0);
  EXPECT_TRUE(imported.missing.empty());
  // Padding does not reach the values: "Нет данных" is still the marker of no data.
  EXPECT_TRUE(fresh.sp0.hasNoData());
  EXPECT_EQ(fresh.sp1.errorText(), "Таймаут при передаче данных (нет связи)");
  EXPECT_TRUE(fresh.kp.valueChanged());
  EXPECT_TRUE(fresh.kp.factoryOwned());
}

TEST_F(ParameterTable, LaterRowOfTheSameParameterWins) {
  DbfWriter writer;
  std::string error;
  ASSERT_TRUE(writer.create(table, parameterTableColumns(), {2026, 1, 2}, error)) << error;
  for (const char* value : {"first", "second"}) {
    model::ExportRecord record;
    record.name = "Kp";
    record.valueText = value;
    ASSERT_TRUE(writer.append(parameterTableCells(record), error)) << error;
  }
  ASSERT_TRUE(writer.commit(error)) << error;
  Tree tree;
  model::Parameter& kp = tree.add(tree.root, "Kp", -1, "", "");
  ASSERT_TRUE(importParameterTable(tree.root, table).table.ok);
  EXPECT_EQ(kp.valueText(), "second");
}

TEST_F(ParameterTable, FileIsAWholeTableAfterEveryRecord) {
  DbfWriter writer;
  std::string error;
  ASSERT_TRUE(writer.create(table, parameterTableColumns(), {2026, 1, 2}, error)) << error;
  auto growing = [&] {
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      if (entry.path().filename().string().rfind(".table.dbf.", 0) == 0) return readWholeFile(entry.path());
    }
    return std::string();
  };
  for (int i = 1; i <= 3; ++i) {
    model::ExportRecord record;
    record.name = "n" + std::to_string(i);
    ASSERT_TRUE(writer.append(parameterTableCells(record), error)) << error;
    const std::string bytes = growing();
    DbfTable read;
    ASSERT_TRUE(readDbfTable(bytes, read, error)) << error;
    EXPECT_EQ(read.records.size(), static_cast<size_t>(i));
    EXPECT_EQ(static_cast<uint8_t>(bytes.back()), 0x1A);
    EXPECT_EQ(bytes.size(), 513u + i * 261u + 1u);
  }
  EXPECT_FALSE(std::filesystem::exists(table)) << "the target is replaced only at the end";
  ASSERT_TRUE(writer.commit(error)) << error;
  EXPECT_TRUE(growing().empty());
  EXPECT_EQ(readWholeFile(table).size(), 513u + 3 * 261u + 1u);
}

TEST_F(ParameterTable, RefusedTablesChangeNothing) {
  SampleTree tree;
  ASSERT_TRUE(exportParameterTable(tree.root, table).ok);
  const std::string good = readWholeFile(table);
  std::string noNameColumn = good;
  noNameColumn.replace(32 + 32, 4, "NOPE");
  const std::pair<std::string, const char*> damaged[] = {
      {good.substr(0, good.size() - 100), "не соответствуют размеру файла"},
      {"\x30" + good.substr(1), "не является таблицей dBase III"},
      {noNameColumn, "нет столбца NAME"},
      {"", "не является таблицей dBase III"},
  };
  for (const auto& [bytes, message] : damaged) {
    SCOPED_TRACE(message);
    test_support::writeWholeFile(table, bytes);
    SampleTree fresh;
    fresh.sp0.setRawValueText("77");
    const ImportResult imported = importParameterTable(fresh.root, table);
    EXPECT_FALSE(imported.table.ok);
    EXPECT_THAT(imported.table.message, HasSubstr(message));
    EXPECT_THAT(imported.table.message, HasSubstr(table));
    EXPECT_EQ(fresh.sp0.valueText(), "77");
    EXPECT_EQ(fresh.kp.valueText(), "1.0");
  }
  SampleTree fresh;
  const ImportResult missing = importParameterTable(fresh.root, folder.file("none.dbf"));
  EXPECT_FALSE(missing.table.ok);
  EXPECT_THAT(missing.table.message, HasSubstr("Проблемы с открытием файла '" + folder.file("none.dbf") + "'\n"));
}

TEST_F(ParameterTable, ExportIntoAMissingFolderIsReported) {
  SampleTree tree;
  const TableResult written = exportParameterTable(tree.root, folder.file("no/such/folder/t.dbf"));
  EXPECT_FALSE(written.ok);
  EXPECT_THAT(written.message, HasSubstr("Проблемы с открытием файла '" + folder.file("no/such/folder/t.dbf")));
}

}  // namespace
}  // namespace zelmot::document
