#include "template_text.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace zelmot::desc {
namespace {

bool parseInt(std::string_view text, int& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// Recursive descent over one expression text; values are kept in 64 bits and refused when
// they leave the range of int.
class ExpressionParser {
public:
  ExpressionParser(std::string_view text, const Bindings& bindings)
      : text_(text), bindings_(bindings) {}

  bool parse(int& value, std::string& error) {
    long long result = 0;
    if (!sum(result)) {
      error = error_;
      return false;
    }
    skipBlanks();
    if (pos_ != text_.size()) {
      error = "лишние символы в выражении '" + std::string(text_) + "'";
      return false;
    }
    value = static_cast<int>(result);
    return true;
  }

private:
  void skipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }
  bool fail(const std::string& message) {
    if (error_.empty()) error_ = message + " в выражении '" + std::string(text_) + "'";
    return false;
  }
  bool checked(long long value, long long& out) {
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
      return fail("переполнение");
    out = value;
    return true;
  }

  bool sum(long long& value) {
    if (!product(value)) return false;
    for (;;) {
      skipBlanks();
      if (pos_ >= text_.size() || (text_[pos_] != '+' && text_[pos_] != '-')) return true;
      char op = text_[pos_++];
      long long rhs = 0;
      if (!product(rhs)) return false;
      if (!checked(op == '+' ? value + rhs : value - rhs, value)) return false;
    }
  }

  bool product(long long& value) {
    if (!unary(value)) return false;
    for (;;) {
      skipBlanks();
      if (pos_ >= text_.size() || (text_[pos_] != '*' && text_[pos_] != '/' && text_[pos_] != '%'))
        return true;
      char op = text_[pos_++];
      long long rhs = 0;
      if (!unary(rhs)) return false;
      if (op != '*' && rhs == 0) return fail("деление на ноль");
      long long result = op == '*' ? value * rhs : op == '/' ? value / rhs : value % rhs;
      if (!checked(result, value)) return false;
    }
  }

  // Minus signs are counted in a loop: a long run of them must not deepen the recursion,
  // and the negation of the smallest int leaves the range like any other overflow.
  bool unary(long long& value) {
    bool negate = false;
    for (skipBlanks(); pos_ < text_.size() && text_[pos_] == '-'; skipBlanks()) {
      ++pos_;
      negate = !negate;
    }
    if (!primary(value)) return false;
    return !negate || checked(-value, value);
  }

  bool primary(long long& value) {
    skipBlanks();
    if (pos_ >= text_.size()) return fail("не хватает операнда");
    char c = text_[pos_];
    if (c == '(') {
      ++pos_;
      if (++depth_ > 32) return fail("слишком глубокие скобки");
      if (!sum(value)) return false;
      --depth_;
      skipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != ')') return fail("нет закрывающей скобки");
      ++pos_;
      return true;
    }
    if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t start = pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      int number = 0;
      if (!parseInt(text_.substr(start, pos_ - start), number)) return fail("слишком большое число");
      value = number;
      return true;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t start = pos_;
      while (pos_ < text_.size() &&
             (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
        ++pos_;
      std::string_view name = text_.substr(start, pos_ - start);
      for (const auto& [variable, bound] : bindings_) {
        if (variable == name) {
          value = bound;
          return true;
        }
      }
      return fail("неизвестная переменная '" + std::string(name) + "'");
    }
    return fail(std::string("недопустимый символ '") + c + "'");
  }

  std::string_view text_;
  const Bindings& bindings_;
  size_t pos_ = 0;
  int depth_ = 0;
  std::string error_;
};

}  // namespace

bool parseRange(std::string_view text, int& first, int& last, std::string& error) {
  size_t dots = text.find("..");
  bool ok = dots == std::string_view::npos
                ? parseInt(text, first) && (last = first, true)
                : parseInt(text.substr(0, dots), first) && parseInt(text.substr(dots + 2), last);
  if (!ok || first < 0 || last < first) {
    error = "диапазон индексов '" + std::string(text) + "' не имеет вида 'первый..последний'";
    return false;
  }
  return true;
}

bool evaluateExpression(std::string_view text, const Bindings& bindings, int& value,
                        std::string& error) {
  return ExpressionParser(text, bindings).parse(value, error);
}

bool expandTemplate(std::string_view text, const Bindings& bindings, std::string& out,
                    std::string& error) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
      out += c;
      ++i;
      continue;
    }
    if (c == '}') {
      error = "непарная '}' в тексте '" + std::string(text) + "'";
      return false;
    }
    if (c != '{') {
      out += c;
      continue;
    }
    size_t close = text.find('}', i + 1);
    if (close == std::string_view::npos) {
      error = "незакрытая '{' в тексте '" + std::string(text) + "'";
      return false;
    }
    int value = 0;
    if (!evaluateExpression(text.substr(i + 1, close - i - 1), bindings, value, error)) return false;
    out += std::to_string(value);
    i = close;
  }
  return true;
}

std::string escapeTemplate(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '{' || c == '}') out += c;
  }
  return out;
}

}  // namespace zelmot::desc
