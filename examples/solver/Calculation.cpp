#include "examples/solver/Calculation.h"

#include <algorithm>
#include <cmath>

#include "examples/solver/Messages.h"
#include "examples/solver/SolverError.h"

namespace orv::solver {

void Calculation::define(Definition definition) {
  const std::string key = foldName(definition.name);
  if (auto it = slots_.find(key); it != slots_.end()) {
    definitions_[it->second] = std::move(definition);
    return;
  }
  slots_.emplace(key, definitions_.size());
  definitions_.push_back(std::move(definition));
}

std::size_t Calculation::slotOf(const std::string& name) const {
  const auto it = slots_.find(foldName(name));
  return it == slots_.end() ? Expression::kUnbound : it->second;
}

bool Calculation::isDefined(const std::string& name) const {
  return slotOf(name) != Expression::kUnbound;
}

const Value& Calculation::value(const std::string& name) const { return values_.at(slotOf(name)); }

void Calculation::bind(Expression& expression, const std::string& context) const {
  for (const auto& name : expression.variables()) {
    if (!isDefined(name))
      throw SolverError(std::string(kUnknownVariable) + name + " in " + context);
  }
  expression.bind([this](const std::string& name) { return slotOf(name); });
}

Value Calculation::evaluate(const Expression& expression) const {
  return expression.evaluate(values_);
}

Value Calculation::compute(std::size_t slot, std::span<const Value> table) const {
  const Definition& d = definitions_[slot];
  Value v = d.expression.evaluate(table);
  if (isTextName(d.name) && !v.isText()) {
    throw Expression::EvaluationError(kEvalNumberForText);
  }
  return v;
}

void Calculation::solve(const Check& check) {
  const std::size_t n = definitions_.size();
  std::vector<std::vector<std::size_t>> deps(n);
  for (std::size_t s = 0; s < n; ++s) {
    Definition& d = definitions_[s];
    bind(d.expression, "the equation of " + d.name + " (" + d.where + ")");
    for (const auto& name : d.expression.variables()) deps[s].push_back(slotOf(name));
  }

  // Depth-first search in definition order; a name met again while it is still on the
  // path closes a cycle. Iterative, so a long chain of assignments cannot exhaust the
  // stack.
  enum class Mark { New, OnPath, Done };
  std::vector<Mark> mark(n, Mark::New);
  order_.clear();
  order_.reserve(n);
  struct Frame {
    std::size_t slot;
    std::size_t next;
  };
  std::vector<Frame> path;
  for (std::size_t root = 0; root < n; ++root) {
    if (mark[root] != Mark::New) continue;
    path.push_back({root, 0});
    mark[root] = Mark::OnPath;
    while (!path.empty()) {
      Frame& top = path.back();
      if (top.next < deps[top.slot].size()) {
        const std::size_t dep = deps[top.slot][top.next++];
        if (mark[dep] == Mark::OnPath) {
          std::string cycle;
          auto start = std::find_if(path.begin(), path.end(),
                                    [dep](const Frame& f) { return f.slot == dep; });
          for (auto it = start; it != path.end(); ++it)
            cycle += definitions_[it->slot].name + " -> ";
          cycle += definitions_[dep].name;
          throw SolverError(std::string(kCyclicDefinition) + cycle + " (" +
                            definitions_[dep].where + ")");
        }
        if (mark[dep] == Mark::New) {
          mark[dep] = Mark::OnPath;
          path.push_back({dep, 0});
        }
        continue;
      }
      mark[top.slot] = Mark::Done;
      order_.push_back(top.slot);
      path.pop_back();
    }
  }

  values_.assign(n, Value());
  for (std::size_t slot : order_) {
    try {
      values_[slot] = compute(slot, values_);
    } catch (const Expression::EvaluationError& e) {
      const Definition& d = definitions_[slot];
      throw SolverError(std::string(e.what()) + " in the equation of " + d.name + " (" + d.where +
                        ")");
    }
    if (check) check(definitions_[slot].name, values_[slot]);
  }
}

std::vector<std::vector<std::optional<Number>>> Calculation::sweep(
    const std::string& x, const std::vector<Number>& samples,
    const std::vector<const Expression*>& expressions) const {
  const std::size_t n = definitions_.size();
  const std::size_t xSlot = slotOf(x);
  std::vector<std::vector<std::optional<Number>>> result(expressions.size());
  if (xSlot == Expression::kUnbound) return result;

  // order_ lists every assignment after the ones it reads, so one pass finds
  // everything that depends on x.
  std::vector<std::vector<std::size_t>> deps(n);
  for (std::size_t s = 0; s < n; ++s) {
    for (const auto& name : definitions_[s].expression.variables()) deps[s].push_back(slotOf(name));
  }
  std::vector<bool> onX(n, false);
  onX[xSlot] = true;
  for (std::size_t s : order_) {
    for (std::size_t d : deps[s]) {
      if (onX[d]) onX[s] = true;
    }
  }

  std::vector<Value> table = values_;
  for (std::size_t e = 0; e < expressions.size(); ++e) {
    // What this expression needs, walking the order backwards from its own names.
    std::vector<bool> needed(n, false);
    for (const auto& name : expressions[e]->variables()) {
      const std::size_t s = slotOf(name);
      if (s != Expression::kUnbound) needed[s] = true;
    }
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
      if (!needed[*it]) continue;
      for (std::size_t d : deps[*it]) needed[d] = true;
    }
    std::vector<std::size_t> recompute;
    for (std::size_t s : order_) {
      if (s != xSlot && onX[s] && needed[s]) recompute.push_back(s);
    }

    result[e].reserve(samples.size());
    for (Number sample : samples) {
      table[xSlot] = Value(sample);
      std::optional<Number> y;
      try {
        for (std::size_t s : recompute) table[s] = compute(s, table);
        const Value v = expressions[e]->evaluate(table);
        if (!v.isText() && std::isfinite(v.number())) y = v.number();
      } catch (const Expression::EvaluationError&) {
        // A gap in the curve: this sample cannot be computed.
      }
      result[e].push_back(y);
    }
    for (std::size_t s : recompute) table[s] = values_[s];
    table[xSlot] = values_[xSlot];
  }
  return result;
}

}  // namespace orv::solver
