#pragma once
// The equations file <NAME>.EQN beside the solver program: the calculation an author
// publishes. A line is one of
//
//   name = expression            an equation, or a default value the input file may
//                                override; statements may share a line with ";",
//                                "#" starts a comment
//   VAR name [UNITS=text] [FORMAT=code] [MIN=number] [MAX=number]
//                                how a variable prints (units in brackets, display
//                                format code as in the layout: A4, F2, E3, G3, T1, ...)
//                                and the range its value must lie in
//   PLOT n                       a plot window, up to a line END; inside, one setting
//     SIZE w h                   per line: picture size in pixels (default 360 240)
//     TITLE text                 title above the chart
//     X name                     the variable swept along the x axis
//     XMIN expression            the sweep's range, computed from the solution
//     XMAX expression
//     YMIN expression            fixed y range (automatic when missing)
//     YMAX expression
//     Y ['label'] expression     one curve; several Y lines draw several curves
//     XTITLE text                axis titles
//     YTITLE text
//     POINTS n                   number of samples (default: one per 2 pixels)
//   END
//
// Keywords are matched without regard to case. Texts may be written in quotes.
// A value type filled by parse(); lines arrive as UTF-8 text.
#include <optional>
#include <string>
#include <vector>

#include "app/mylib/myLib.h"
#include "examples/solver/Definition.h"

namespace orv::solver {

struct VariableDeclaration {
  std::string name;
  std::string units;
  std::optional<DecForm> format;
  std::optional<Number> min;
  std::optional<Number> max;
  std::string where;
};

struct PlotCurve {
  std::string label;
  Expression y;
  std::string where;
};

struct PlotDeclaration {
  int window = 0;
  int width = 360;
  int height = 240;
  std::string title;
  std::string xTitle;
  std::string yTitle;
  std::string xName;
  std::optional<Expression> xMin;
  std::optional<Expression> xMax;
  std::optional<Expression> yMin;
  std::optional<Expression> yMax;
  int points = 0;  // 0: one sample per two pixels of plot width
  std::vector<PlotCurve> curves;
  std::string where;  // of the PLOT line
};

class EquationFile {
 public:
  // Throws SolverError (syntax errors, names defined or declared twice, PLOT blocks
  // without END or without their X, XMIN, XMAX and Y lines).
  static EquationFile parse(const std::vector<std::string>& lines, const std::string& fileName);

  std::vector<Definition>& definitions() { return definitions_; }
  const std::vector<VariableDeclaration>& declarations() const { return declarations_; }
  std::vector<PlotDeclaration>& plots() { return plots_; }

  // The declaration of a variable (name compared without regard to case), or nullptr.
  const VariableDeclaration* declaration(const std::string& name) const;

 private:
  std::vector<Definition> definitions_;
  std::vector<VariableDeclaration> declarations_;
  std::vector<PlotDeclaration> plots_;
};

}  // namespace orv::solver
