#pragma once
// Field offsets and sizes of a 2343-byte catalogue record (parameters.zip).
#include <cstddef>

#include "model/record_fields.h"

namespace zelmot::model::catalogue_layout {

using TextField = fields::TextField;

inline constexpr TextField kName{0, 9, "имя"};
inline constexpr TextField kCaption{9, 256, "описание"};
inline constexpr size_t kLinearIndex = 265;
inline constexpr size_t kIndexMode = 269;
inline constexpr size_t kReadOnly = 270;
inline constexpr size_t kFlag = 271;
inline constexpr size_t kKind = 272;
inline constexpr size_t kValueChanged = 276;
inline constexpr size_t kMultiplicity = 277;
inline constexpr size_t kEditable = 281;
inline constexpr size_t kFactoryOwned = 282;
inline constexpr TextField kTypeDescriptor{283, 1024, "описатель типа"};
inline constexpr size_t kDecimals = 1307;
inline constexpr size_t kMinimum = 1311;
inline constexpr size_t kMaximum = 1315;
inline constexpr TextField kInitialValue{1319, 256, "начальное значение"};
inline constexpr TextField kHint{1575, 256, "подсказка"};
inline constexpr TextField kErrorText{1831, 512, "текст ошибки"};

inline constexpr TextField kTextFields[] = {kName,          kCaption, kTypeDescriptor,
                                            kInitialValue, kHint,    kErrorText};

}  // namespace zelmot::model::catalogue_layout
