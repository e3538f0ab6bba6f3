// zelmot.tree.zip / zelmot.tree.op.zip content: 512-byte records of three kinds.
#include <span>

#include "model/description_files.h"
#include "model/record_fields.h"
#include "model/tree_layout.h"

namespace zelmot::model {

namespace layout = tree_layout;

namespace {

using Out = std::span<uint8_t>;
using In = std::span<const uint8_t>;

bool encodeBranch(const BranchRecord& r, size_t number, Out out, std::string& error) {
  out[layout::kKind] = layout::kKindBranch;
  fields::writeI32(out, layout::kCountA, r.countA);
  fields::writeI32(out, layout::kCountB, r.countB);
  fields::writeI32(out, layout::kCountC, r.countC);
  fields::writeI32(out, layout::kValue1, r.value1);
  fields::writeI32(out, layout::kValue2, r.value2);
  fields::writeI32(out, layout::kValue3, r.value3);
  fields::writeI32(out, layout::kMarker, r.marker);
  return fields::writeText(out, layout::kBranchName, r.name, number, error);
}

bool encodeLink(const LinkRecord& r, size_t number, Out out, std::string& error) {
  out[layout::kKind] = layout::kKindLink;
  fields::writeI32(out, layout::kLinkNumber1, r.number1);
  fields::writeI32(out, layout::kLinkNumber2, r.number2);
  return fields::writeText(out, layout::kLinkText1, r.text1, number, error) &&
         fields::writeText(out, layout::kLinkText2, r.text2, number, error) &&
         fields::writeText(out, layout::kLinkText3, r.text3, number, error);
}

bool encodeReference(const ReferenceRecord& r, size_t number, Out out, std::string& error) {
  if (r.kind == layout::kKindBranch || r.kind == layout::kKindLink) {
    error = "запись " + std::to_string(number) + ": ссылка на параметр не может иметь вид " +
            std::to_string(r.kind);
    return false;
  }
  out[layout::kKind] = r.kind;
  fields::writeI32(out, layout::kCatalogueIndex, r.catalogueIndex);
  out[layout::kLocked] = r.locked;
  fields::writeI32(out, layout::kSubIndex, r.subIndex);
  return fields::writeText(out, layout::kReferenceCaption, r.caption, number, error);
}

TreeRecord decodeRecord(In in) {
  switch (in[layout::kKind]) {
    case layout::kKindBranch: {
      BranchRecord r;
      r.countA = fields::readI32(in, layout::kCountA);
      r.countB = fields::readI32(in, layout::kCountB);
      r.countC = fields::readI32(in, layout::kCountC);
      r.value1 = fields::readI32(in, layout::kValue1);
      r.value2 = fields::readI32(in, layout::kValue2);
      r.value3 = fields::readI32(in, layout::kValue3);
      r.marker = fields::readI32(in, layout::kMarker);
      r.name = fields::readText(in, layout::kBranchName);
      return r;
    }
    case layout::kKindLink: {
      LinkRecord r;
      r.text1 = fields::readText(in, layout::kLinkText1);
      r.text2 = fields::readText(in, layout::kLinkText2);
      r.text3 = fields::readText(in, layout::kLinkText3);
      r.number1 = fields::readI32(in, layout::kLinkNumber1);
      r.number2 = fields::readI32(in, layout::kLinkNumber2);
      return r;
    }
    default: {
      ReferenceRecord r;
      r.kind = in[layout::kKind];
      r.catalogueIndex = fields::readI32(in, layout::kCatalogueIndex);
      r.locked = in[layout::kLocked];
      r.subIndex = fields::readI32(in, layout::kSubIndex);
      r.caption = fields::readText(in, layout::kReferenceCaption);
      return r;
    }
  }
}

}  // namespace

bool encodeTree(const std::vector<TreeRecord>& records, std::vector<uint8_t>& bytes,
                std::string& error) {
  std::vector<uint8_t> out(records.size() * layout::kRecordSize, 0);
  for (size_t n = 0; n < records.size(); ++n) {
    Out record(out.data() + n * layout::kRecordSize, layout::kRecordSize);
    const bool ok = std::visit(
        [&](const auto& r) {
          using T = std::decay_t<decltype(r)>;
          if constexpr (std::is_same_v<T, BranchRecord>) return encodeBranch(r, n, record, error);
          else if constexpr (std::is_same_v<T, LinkRecord>) return encodeLink(r, n, record, error);
          else return encodeReference(r, n, record, error);
        },
        records[n]);
    if (!ok) return false;
  }
  bytes = std::move(out);
  return true;
}

std::vector<TreeRecord> decodeTree(const std::vector<uint8_t>& bytes) {
  const size_t count = bytes.size() / layout::kRecordSize;  // a remainder is ignored
  std::vector<TreeRecord> records;
  records.reserve(count);
  for (size_t n = 0; n < count; ++n) {
    records.push_back(decodeRecord(In(bytes.data() + n * layout::kRecordSize, layout::kRecordSize)));
  }
  return records;
}

}  // namespace zelmot::model
