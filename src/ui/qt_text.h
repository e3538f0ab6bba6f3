#pragma once
// The core speaks UTF-8 std::string; Qt speaks QString. Conversions at the boundary only.
#include <QString>
#include <string>

namespace zelmot::ui {

inline QString toQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string fromQt(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace zelmot::ui
