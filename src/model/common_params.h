#pragma once
// The node of the program's own service parameters (version, copyright, operating
// system, the archive file name). It owns its parameters; they take no part in device
// exchange.
#include <string>

#include "model/invisible_element.h"

namespace zelmot::model {

class Parameter;

inline constexpr const char* kCommonParamsCaption = "Сервисные параметры программы";
inline constexpr const char* kVersionParameterName = " ";
inline constexpr const char* kCopyrightParameterName = "  ";
inline constexpr const char* kSystemParameterName = "   ";
inline constexpr const char* kArchiveParameterName = "    ";
inline constexpr const char* kArchiveParameterDescription = "Имя файла для сохранения протокола";

class CommonParams : public InvisibleElement {
public:
  CommonParams();

  std::string caption() const override { return kCommonParamsCaption; }

  // Appends the three read-only information parameters: version " ", copyright "  " and
  // operating system "   ".
  void addInformationParameters(const std::string& version, const std::string& copyright,
                                const std::string& system);

  // Appends an owned parameter with a value (type "string") and returns it.
  Parameter* addServiceParameter(const std::string& name, const std::string& description,
                                 const std::string& value, bool writable);
};

}  // namespace zelmot::model
