#include "examples/solver/Expression.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_set>

#include "examples/solver/Messages.h"

namespace orv::solver {

namespace {

enum class Kind { Constant, Variable, Negate, Binary, Call, If };

enum class Op { Add, Sub, Mul, Div, Pow, Lt, Le, Gt, Ge, Eq, Ne };

enum class Function { Sqrt, Exp, Ln, Log10, Sin, Cos, Tan, Abs, Min, Max };

struct FunctionInfo {
  std::string_view name;
  Function function;
  std::size_t minArgs;
  std::size_t maxArgs;
};

constexpr std::size_t kMany = static_cast<std::size_t>(-1);

constexpr FunctionInfo kFunctions[] = {
    {"sqrt", Function::Sqrt, 1, 1},   {"exp", Function::Exp, 1, 1},
    {"ln", Function::Ln, 1, 1},       {"log10", Function::Log10, 1, 1},
    {"sin", Function::Sin, 1, 1},     {"cos", Function::Cos, 1, 1},
    {"tan", Function::Tan, 1, 1},     {"abs", Function::Abs, 1, 1},
    {"min", Function::Min, 2, kMany}, {"max", Function::Max, 2, kMany},
};

bool isNameStart(unsigned char c) {
  // Bytes of multi-byte UTF-8 sequences count as letters, so names such as "Δp" work.
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}
bool isNameChar(unsigned char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

struct Expression::Node {
  Kind kind = Kind::Constant;
  Value value;       // Constant
  std::string name;  // Variable (as written)
  std::size_t slot = kUnbound;
  Op op = Op::Add;                     // Binary
  Function function = Function::Sqrt;  // Call
  std::vector<std::unique_ptr<Node>> args;
  int height = 1;  // levels of the tree below and including this node
};

namespace {

using Node = Expression::Node;

// Evaluation recurses once per level of the tree and parsing once per level of
// parentheses and signs, so both are bounded to keep any equations file from
// exhausting the stack. Hand-written equations stay far below these limits.
constexpr int kMaxHeight = 1000;
constexpr int kMaxNesting = 400;

// Recursive-descent parser over one text. Positions are counted in characters from 1.
class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::unique_ptr<Node> parseAll() {
    skipBlanks();
    if (pos_ >= text_.size()) fail(pos_, kSyntaxExpressionExpected);
    auto node = comparison();
    skipBlanks();
    if (pos_ < text_.size()) {
      if (text_[pos_] == ')') fail(pos_, kSyntaxUnbalanced);
      fail(pos_, kSyntaxUnexpected);
    }
    return node;
  }

 private:
  [[noreturn]] void fail(std::size_t bytePos, std::string_view reason) const {
    // Characters, not bytes: a name such as "Δp" is one character per letter.
    std::size_t chars = 1;
    for (std::size_t i = 0; i < bytePos && i < text_.size(); ++i) {
      if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) ++chars;
    }
    if (bytePos < text_.size() && (static_cast<unsigned char>(text_[bytePos]) & 0xC0) == 0x80) {
      --chars;
    }
    throw Expression::SyntaxError(chars, std::string(reason));
  }

  void skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  bool accept(std::string_view token) {
    skipBlanks();
    if (text_.substr(pos_, token.size()) == token) {
      pos_ += token.size();
      return true;
    }
    return false;
  }

  // Gives a new inner node its height, refusing trees too deep to evaluate.
  std::unique_ptr<Node> grown(std::unique_ptr<Node> n) const {
    for (const auto& a : n->args) n->height = std::max(n->height, a->height + 1);
    if (n->height > kMaxHeight) fail(pos_, kSyntaxTooDeep);
    return n;
  }

  // Counts the levels of the descent that is running.
  class Level {
   public:
    explicit Level(Parser& p) : p_(p) {
      if (++p_.nesting_ > kMaxNesting) p_.fail(p_.pos_, kSyntaxTooDeep);
    }
    ~Level() { --p_.nesting_; }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

   private:
    Parser& p_;
  };

  std::unique_ptr<Node> binary(Op op, std::unique_ptr<Node> a, std::unique_ptr<Node> b) const {
    auto n = std::make_unique<Node>();
    n->kind = Kind::Binary;
    n->op = op;
    n->args.push_back(std::move(a));
    n->args.push_back(std::move(b));
    return grown(std::move(n));
  }

  std::unique_ptr<Node> comparison() {
    const Level level(*this);
    auto left = sum();
    // Two-character operators first, so "<=" is not read as "<" followed by "=".
    static constexpr std::pair<std::string_view, Op> kOps[] = {
        {"<=", Op::Le}, {">=", Op::Ge}, {"==", Op::Eq}, {"<>", Op::Ne},
        {"!=", Op::Ne}, {"<", Op::Lt},  {">", Op::Gt}};
    for (const auto& [token, op] : kOps) {
      if (accept(token)) {
        auto right = sum();
        skipBlanks();
        if (pos_ < text_.size() && (text_[pos_] == '<' || text_[pos_] == '>' ||
                                    text_[pos_] == '=' || text_[pos_] == '!')) {
          fail(pos_, kSyntaxChainedComparison);
        }
        return binary(op, std::move(left), std::move(right));
      }
    }
    return left;
  }

  std::unique_ptr<Node> sum() {
    auto left = product();
    for (;;) {
      if (accept("+")) {
        left = binary(Op::Add, std::move(left), product());
      } else if (accept("-")) {
        left = binary(Op::Sub, std::move(left), product());
      } else {
        return left;
      }
    }
  }

  std::unique_ptr<Node> product() {
    auto left = unary();
    for (;;) {
      if (accept("*")) {
        left = binary(Op::Mul, std::move(left), unary());
      } else if (accept("/")) {
        left = binary(Op::Div, std::move(left), unary());
      } else {
        return left;
      }
    }
  }

  std::unique_ptr<Node> unary() {
    const Level level(*this);
    if (accept("-")) {
      auto n = std::make_unique<Node>();
      n->kind = Kind::Negate;
      n->args.push_back(unary());
      return grown(std::move(n));
    }
    if (accept("+")) return unary();
    return power();
  }

  std::unique_ptr<Node> power() {
    auto base = primary();
    if (accept("^")) return binary(Op::Pow, std::move(base), unary());
    return base;
  }

  std::unique_ptr<Node> number() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    }
    if (pos_ - start == 1 && text_[start] == '.') fail(start, kSyntaxBadNumber);
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (pos_ >= text_.size() || !isDigit(text_[pos_])) fail(pos_, kSyntaxExponentDigits);
      while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    }
    if (pos_ < text_.size() &&
        (isNameChar(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) {
      fail(pos_, kSyntaxBadNumber);
    }
    auto n = std::make_unique<Node>();
    n->kind = Kind::Constant;
    n->value = Value(std::strtold(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr));
    return n;
  }

  std::unique_ptr<Node> textLiteral() {
    const char quote = text_[pos_];
    const std::size_t start = pos_;
    ++pos_;
    std::string text;
    for (;;) {
      if (pos_ >= text_.size()) fail(start, kSyntaxUnclosedText);
      if (text_[pos_] == quote) {
        // A doubled quote stands for one quote character inside the text.
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == quote) {
          text += quote;
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      text += text_[pos_++];
    }
    auto n = std::make_unique<Node>();
    n->kind = Kind::Constant;
    n->value = Value(std::move(text));
    return n;
  }

  std::unique_ptr<Node> primary() {
    skipBlanks();
    if (pos_ >= text_.size()) fail(pos_, kSyntaxExpressionExpected);
    const char c = text_[pos_];
    if (isDigit(c) || c == '.') return number();
    if (c == '\'' || c == '"') return textLiteral();
    if (c == '(') {
      const std::size_t open = pos_;
      ++pos_;
      auto inner = comparison();
      if (!accept(")")) {
        skipBlanks();
        fail(pos_ < text_.size() ? pos_ : open, kSyntaxCloseParenExpected);
      }
      return inner;
    }
    if (!isNameStart(static_cast<unsigned char>(c))) fail(pos_, kSyntaxUnexpected);

    const std::size_t start = pos_;
    while (pos_ < text_.size() && isNameChar(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '$') ++pos_;
    const std::string name(text_.substr(start, pos_ - start));
    const std::string folded = foldName(name);

    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '(') return call(name, folded, start);

    if (folded == "pi") {
      auto n = std::make_unique<Node>();
      n->kind = Kind::Constant;
      n->value = Value(std::numbers::pi_v<Number>);
      return n;
    }
    auto n = std::make_unique<Node>();
    n->kind = Kind::Variable;
    n->name = name;
    return n;
  }

  std::unique_ptr<Node> call(const std::string& name, const std::string& folded,
                             std::size_t start) {
    ++pos_;  // "("
    std::vector<std::unique_ptr<Node>> args;
    skipBlanks();
    if (!accept(")")) {
      for (;;) {
        args.push_back(comparison());
        if (accept(",")) continue;
        if (accept(")")) break;
        skipBlanks();
        fail(pos_, kSyntaxCommaOrParenExpected);
      }
    }
    auto n = std::make_unique<Node>();
    n->args = std::move(args);
    if (folded == "if") {
      if (n->args.size() != 3) fail(start, kSyntaxIfArguments);
      n->kind = Kind::If;
      return grown(std::move(n));
    }
    for (const auto& f : kFunctions) {
      if (f.name != folded) continue;
      if (n->args.size() < f.minArgs || n->args.size() > f.maxArgs) {
        fail(start, f.maxArgs == 1 ? std::string(f.name) + kSyntaxOneArgument
                                   : std::string(f.name) + kSyntaxTwoOrMoreArguments);
      }
      n->kind = Kind::Call;
      n->function = f.function;
      return grown(std::move(n));
    }
    fail(start, kSyntaxUnknownFunction + name);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int nesting_ = 0;
};

Number checked(Number r) {
  if (std::isnan(r)) throw Expression::EvaluationError(kEvalUndefined);
  if (std::isinf(r)) throw Expression::EvaluationError(kEvalOverflow);
  return r;
}

Number numberOf(const Value& v) {
  if (v.isText()) throw Expression::EvaluationError(kEvalTextInArithmetic);
  return v.number();
}

Value evaluateNode(const Node& n, std::span<const Value> table);

Value evaluateBinary(const Node& n, std::span<const Value> table) {
  const Value a = evaluateNode(*n.args[0], table);
  const Value b = evaluateNode(*n.args[1], table);
  if (a.isText() || b.isText()) {
    if (!a.isText() || !b.isText()) throw Expression::EvaluationError(kEvalTextAndNumber);
    switch (n.op) {
      case Op::Add:
        return Value(a.text() + b.text());
      case Op::Eq:
        return Value(Number{a.text() == b.text() ? 1.0L : 0.0L});
      case Op::Ne:
        return Value(Number{a.text() != b.text() ? 1.0L : 0.0L});
      default:
        throw Expression::EvaluationError(kEvalTextOperator);
    }
  }
  const Number x = a.number();
  const Number y = b.number();
  switch (n.op) {
    case Op::Add:
      return checked(x + y);
    case Op::Sub:
      return checked(x - y);
    case Op::Mul:
      return checked(x * y);
    case Op::Div:
      if (y == 0) throw Expression::EvaluationError(kEvalDivisionByZero);
      return checked(x / y);
    case Op::Pow:
      if (x == 0 && y < 0) throw Expression::EvaluationError(kEvalDivisionByZero);
      if (x < 0 && y != std::trunc(y)) throw Expression::EvaluationError(kEvalNegativePower);
      return checked(std::pow(x, y));
    case Op::Lt:
      return Number{x < y ? 1.0L : 0.0L};
    case Op::Le:
      return Number{x <= y ? 1.0L : 0.0L};
    case Op::Gt:
      return Number{x > y ? 1.0L : 0.0L};
    case Op::Ge:
      return Number{x >= y ? 1.0L : 0.0L};
    case Op::Eq:
      return Number{x == y ? 1.0L : 0.0L};
    case Op::Ne:
      return Number{x != y ? 1.0L : 0.0L};
  }
  return Number{0};
}

Value evaluateCall(const Node& n, std::span<const Value> table) {
  if (n.function == Function::Min || n.function == Function::Max) {
    Number best = numberOf(evaluateNode(*n.args[0], table));
    for (std::size_t i = 1; i < n.args.size(); ++i) {
      const Number v = numberOf(evaluateNode(*n.args[i], table));
      best = n.function == Function::Min ? std::min(best, v) : std::max(best, v);
    }
    return best;
  }
  const Number x = numberOf(evaluateNode(*n.args[0], table));
  switch (n.function) {
    case Function::Sqrt:
      if (x < 0) throw Expression::EvaluationError(kEvalSqrtNegative);
      return std::sqrt(x);
    case Function::Exp:
      return checked(std::exp(x));
    case Function::Ln:
      if (x <= 0) throw Expression::EvaluationError(kEvalLnNotPositive);
      return std::log(x);
    case Function::Log10:
      if (x <= 0) throw Expression::EvaluationError(kEvalLog10NotPositive);
      return std::log10(x);
    case Function::Sin:
      return checked(std::sin(x));
    case Function::Cos:
      return checked(std::cos(x));
    case Function::Tan:
      return checked(std::tan(x));
    case Function::Abs:
      return std::fabs(x);
    case Function::Min:
    case Function::Max:
      break;
  }
  return Number{0};
}

Value evaluateNode(const Node& n, std::span<const Value> table) {
  switch (n.kind) {
    case Kind::Constant:
      return n.value;
    case Kind::Variable:
      if (n.slot == Expression::kUnbound || n.slot >= table.size()) {
        throw Expression::EvaluationError(kEvalUnboundVariable + n.name);
      }
      return table[n.slot];
    case Kind::Negate:
      return -numberOf(evaluateNode(*n.args[0], table));
    case Kind::Binary:
      return evaluateBinary(n, table);
    case Kind::Call:
      return evaluateCall(n, table);
    case Kind::If: {
      const Number c = numberOf(evaluateNode(*n.args[0], table));
      return evaluateNode(*n.args[c != 0 ? 1 : 2], table);
    }
  }
  return Number{0};
}

void collect(const Node& n, std::vector<std::string>& names,
             std::unordered_set<std::string>& seen) {
  if (n.kind == Kind::Variable && seen.insert(foldName(n.name)).second) names.push_back(n.name);
  for (const auto& a : n.args) collect(*a, names, seen);
}

void bindNode(Node& n, const std::function<std::size_t(const std::string&)>& slotOf) {
  if (n.kind == Kind::Variable) n.slot = slotOf(n.name);
  for (auto& a : n.args) bindNode(*a, slotOf);
}

}  // namespace

Expression::Expression() : root_(std::make_unique<Node>()) {}
Expression::Expression(std::unique_ptr<Node> root) : root_(std::move(root)) {}
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

Expression Expression::parse(std::string_view text) { return Expression(Parser(text).parseAll()); }

Expression Expression::constant(Value value) {
  auto n = std::make_unique<Node>();
  n->kind = Kind::Constant;
  n->value = std::move(value);
  return Expression(std::move(n));
}

std::vector<std::string> Expression::variables() const {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  collect(*root_, names, seen);
  return names;
}

void Expression::bind(const std::function<std::size_t(const std::string&)>& slotOf) {
  bindNode(*root_, slotOf);
}

Value Expression::evaluate(std::span<const Value> table) const {
  return evaluateNode(*root_, table);
}

std::string foldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool isVariableName(std::string_view name) {
  if (name.empty() || !isNameStart(static_cast<unsigned char>(name[0]))) return false;
  std::size_t end = name.size();
  if (name.back() == '$') --end;
  if (end == 0) return false;
  for (std::size_t i = 0; i < end; ++i) {
    if (!isNameChar(static_cast<unsigned char>(name[i]))) return false;
  }
  return true;
}

bool isTextName(std::string_view name) { return !name.empty() && name.back() == '$'; }

}  // namespace orv::solver
