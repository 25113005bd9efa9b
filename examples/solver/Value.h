#pragma once
// A value of the calculation: a number (80-bit extended, as on the page) or a text
// (variables whose names end in "$"). Texts are UTF-8 in memory.
#include <string>
#include <utility>
#include <variant>

namespace orv::solver {

using Number = long double;

class Value {
 public:
  Value() : data_(Number{0}) {}
  Value(Number n) : data_(n) {}  // NOLINT: implicit on purpose, numbers are the common case
  explicit Value(std::string text) : data_(std::move(text)) {}

  bool isText() const { return std::holds_alternative<std::string>(data_); }
  Number number() const { return std::get<Number>(data_); }
  const std::string& text() const { return std::get<std::string>(data_); }

 private:
  std::variant<Number, std::string> data_;
};

}  // namespace orv::solver
