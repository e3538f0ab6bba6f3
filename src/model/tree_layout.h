#pragma once
// Field offsets and sizes of the 512-byte records of the tree files.
#include <cstddef>
#include <cstdint>

#include "model/record_fields.h"

namespace zelmot::model::tree_layout {

using TextField = fields::TextField;

inline constexpr size_t kRecordSize = 512;
inline constexpr uint8_t kKindBranch = 1;
inline constexpr uint8_t kKindLink = 2;
inline constexpr int32_t kMainBranchMarker = 100;

inline constexpr size_t kKind = 0;

// Branch record.
inline constexpr size_t kCountA = 1;
inline constexpr size_t kCountB = 5;
inline constexpr size_t kCountC = 9;
inline constexpr size_t kValue1 = 13;
inline constexpr size_t kValue2 = 17;
inline constexpr size_t kValue3 = 21;
inline constexpr size_t kMarker = 25;
inline constexpr TextField kBranchName{29, 483, "имя ветви"};

// Scheme link record.
inline constexpr TextField kLinkText1{1, 238, "первый текст связи"};
inline constexpr TextField kLinkText2{239, 256, "второй текст связи"};
inline constexpr TextField kLinkText3{495, 9, "имя параметра связи"};
inline constexpr size_t kLinkNumber1 = 504;
inline constexpr size_t kLinkNumber2 = 508;

// Parameter reference record.
inline constexpr size_t kCatalogueIndex = 1;
inline constexpr size_t kLocked = 13;
inline constexpr size_t kSubIndex = 14;
inline constexpr TextField kReferenceCaption{18, 494, "описание в дереве"};

}  // namespace zelmot::model::tree_layout
