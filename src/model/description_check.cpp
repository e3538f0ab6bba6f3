#include "model/description_check.h"

#include <algorithm>
#include <filesystem>
#include <span>

#include "model/catalogue_layout.h"
#include "model/desc_branch.h"
#include "model/description_files.h"
#include "model/enumeration_codec.h"
#include "model/record_fields.h"
#include "model/structural_tables.h"
#include "model/tree_layout.h"
#include "model/value_kind.h"

namespace zelmot::model {

namespace {

using Messages = std::vector<std::string>;
using TextField = catalogue_layout::TextField;

class FileReport {
public:
  FileReport(Messages& messages, std::string fileName)
      : messages_(messages), file_(std::move(fileName)) {}

  void file(const std::string& text) { messages_.push_back(file_ + ": " + text); }
  void record(size_t number, const std::string& text) {
    file("запись " + std::to_string(number) + ": " + text);
  }

private:
  Messages& messages_;
  std::string file_;
};

void checkTerminated(std::span<const uint8_t> record, const TextField& field, size_t number,
                     FileReport& report) {
  if (!fields::textTerminated(record, field.offset, field.size)) {
    report.record(number, std::string("текст поля \"") + field.label +
                              "\" не завершён нулём в пределах поля");
  }
}

void checkRemainder(size_t size, size_t recordSize, FileReport& report) {
  if (size % recordSize != 0) {
    report.file(std::to_string(size % recordSize) + " байт после последней полной записи (" +
                std::to_string(recordSize) + " байт) не используются");
  }
}

// Reads and unpacks a compressed file; false (and a message) when absent or damaged.
bool unpack(const std::filesystem::path& path, std::vector<uint8_t>& data, FileReport& report) {
  std::vector<uint8_t> file;
  std::string error;
  if (!readFileBytes(path.string(), file, error)) {
    report.file("файл не найден или не читается");
    return false;
  }
  if (!gzipDecompress(file, data, error)) {
    report.file("сжатые данные повреждены: " + error);
    return false;
  }
  return true;
}

// --- constants -----------------------------------------------------------------------

DescriptionConstants checkConstants(const std::filesystem::path& path, Messages& messages) {
  FileReport report(messages, kConstantsFileName);
  DescriptionConstants constants;
  std::vector<uint8_t> file;
  std::string error;
  if (!readFileBytes(path.string(), file, error)) {
    report.file("файл не найден или не читается; все константы будут равны 0");
    return constants;
  }
  const std::vector<std::string> tokens = constantsTokens(file);
  for (size_t i = 0; i < kConstantCount; ++i) {
    int value = 0;
    if (!findConstantToken(tokens, kConstantNames[i], value)) {
      report.file(std::string("константа ") + kConstantNames[i] + " не определена (будет 255)");
      value = -1;
    } else if (value < 0 || value > 255) {
      report.file(std::string("значение константы ") + kConstantNames[i] + " " +
                  std::to_string(value) + " не помещается в 8 бит (будет " +
                  std::to_string(static_cast<uint8_t>(value)) + ")");
    }
    constantField(constants, i) = static_cast<uint8_t>(value);
  }
  return constants;
}

// --- catalogue -----------------------------------------------------------------------

void checkCatalogueRecord(std::span<const uint8_t> bytes, const CatalogueRecord& record,
                          size_t number, const DescriptionConstants& constants,
                          FileReport& report) {
  for (const TextField& field : catalogue_layout::kTextFields) {
    checkTerminated(bytes, field, number, report);
  }
  if (valueKindOf(record.typeDescriptor) == ValueKind::Enumeration) {
    const size_t items =
        static_cast<size_t>(std::count(record.typeDescriptor.begin(), record.typeDescriptor.end(), ':')) + 1;
    if (items > kMaxEnumerationItems) {
      report.record(number, "перечисление из " + std::to_string(items) +
                                " пунктов, допускается не более " +
                                std::to_string(kMaxEnumerationItems));
    }
  }
  if (isStructuralKind(record.kind)) {
    TablePosition position;
    std::string error;
    if (!structuralPosition(record, constants, position, error)) {
      report.record(number, "параметр " + record.name + ": " + error);
    }
  }
}

// Returns the number of records (0 when the file is unusable).
size_t checkCatalogue(const std::filesystem::path& path, const DescriptionConstants& constants,
                      Messages& messages) {
  FileReport report(messages, kCatalogueFileName);
  std::vector<uint8_t> data;
  if (!unpack(path, data, report)) return 0;
  checkRemainder(data.size(), CatalogueRecord::kSize, report);
  const std::vector<CatalogueRecord> records = decodeCatalogue(data);
  if (records.empty()) report.file("каталог не содержит ни одной записи");
  for (size_t n = 0; n < records.size(); ++n) {
    std::span<const uint8_t> bytes(data.data() + n * CatalogueRecord::kSize, CatalogueRecord::kSize);
    checkCatalogueRecord(bytes, records[n], n, constants, report);
  }
  return records.size();
}

// --- trees ---------------------------------------------------------------------------

void checkTreeTexts(std::span<const uint8_t> bytes, const TreeRecord& record, size_t number,
                    FileReport& report) {
  if (std::holds_alternative<BranchRecord>(record)) {
    checkTerminated(bytes, tree_layout::kBranchName, number, report);
  } else if (std::holds_alternative<LinkRecord>(record)) {
    checkTerminated(bytes, tree_layout::kLinkText1, number, report);
    checkTerminated(bytes, tree_layout::kLinkText2, number, report);
    checkTerminated(bytes, tree_layout::kLinkText3, number, report);
  } else {
    checkTerminated(bytes, tree_layout::kReferenceCaption, number, report);
  }
}

struct OpenBranch {
  size_t record;
  int64_t childrenLeft;
};

// Walks the records the way the tree builder consumes them, without recursion. Returns
// false at the first structural fault (later records cannot be interpreted then).
bool checkTreeStructure(const std::vector<TreeRecord>& records, size_t catalogueSize,
                        FileReport& report) {
  if (records.empty()) {
    report.file("файл не содержит ни одной записи");
    return false;
  }
  std::vector<OpenBranch> open;
  size_t cursor = 0;
  do {
    if (cursor >= records.size()) {
      report.record(open.back().record, "число дочерних элементов ветви выходит за конец файла");
      return false;
    }
    const size_t number = cursor++;
    if (!open.empty()) --open.back().childrenLeft;
    if (const auto* branch = std::get_if<BranchRecord>(&records[number])) {
      if (branch->countA < 0 || branch->countB < 0 || branch->countC < 0) {
        report.record(number, "отрицательное число дочерних элементов ветви");
        return false;
      }
      if (static_cast<int>(open.size()) > kMaxTreeDepth) {
        report.record(number, "вложенность ветвей больше " + std::to_string(kMaxTreeDepth));
        return false;
      }
      open.push_back({number, int64_t{branch->countA} + branch->countB + branch->countC});
    } else if (open.empty()) {
      report.record(number, "первая запись дерева должна быть ветвью");
      return false;
    } else if (const auto* reference = std::get_if<ReferenceRecord>(&records[number])) {
      if (reference->catalogueIndex < 0 ||
          static_cast<size_t>(reference->catalogueIndex) >= catalogueSize) {
        report.record(number, "ссылка на запись каталога " +
                                  std::to_string(reference->catalogueIndex) +
                                  " вне каталога из " + std::to_string(catalogueSize) +
                                  " записей");
      }
    }
    while (!open.empty() && open.back().childrenLeft == 0) open.pop_back();
  } while (!open.empty());
  if (cursor < records.size()) {
    report.file("записей после корневой ветви, не входящих в дерево: " +
                std::to_string(records.size() - cursor));
  }
  return true;
}

void checkTree(const std::filesystem::path& path, const char* fileName, size_t catalogueSize,
               Messages& messages) {
  FileReport report(messages, fileName);
  std::vector<uint8_t> data;
  if (!unpack(path, data, report)) return;
  checkRemainder(data.size(), tree_layout::kRecordSize, report);
  const std::vector<TreeRecord> records = decodeTree(data);
  for (size_t n = 0; n < records.size(); ++n) {
    std::span<const uint8_t> bytes(data.data() + n * tree_layout::kRecordSize, tree_layout::kRecordSize);
    checkTreeTexts(bytes, records[n], n, report);
  }
  checkTreeStructure(records, catalogueSize, report);
}

}  // namespace

std::vector<std::string> checkDescriptionFiles(const std::string& dataDir) {
  const std::filesystem::path dir(dataDir);
  Messages messages;
  const DescriptionConstants constants = checkConstants(dir / kConstantsFileName, messages);
  const size_t catalogueSize = checkCatalogue(dir / kCatalogueFileName, constants, messages);
  checkTree(dir / kMainTreeFileName, kMainTreeFileName, catalogueSize, messages);
  checkTree(dir / kMeasurementTreeFileName, kMeasurementTreeFileName, catalogueSize, messages);
  return messages;
}

}  // namespace zelmot::model
