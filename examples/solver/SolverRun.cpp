#include "examples/solver/SolverRun.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "app/mylib/myLib.h"
#include "examples/solver/Calculation.h"
#include "examples/solver/EquationFile.h"
#include "examples/solver/LineChart.h"
#include "examples/solver/Messages.h"
#include "examples/solver/SolverError.h"
#include "examples/solver/SolverInput.h"
#include "examples/solver/TextFiles.h"
#include "platform/CodePage.h"
#include "platform/Picture.h"

namespace orv::solver {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string withPrintf(std::string_view pattern, int number) {
  std::string s(pattern);
  const std::size_t at = s.find("%d");
  if (at != std::string::npos) s.replace(at, 2, std::to_string(number));
  return s;
}

const DecForm kAutoFormat{DecStyle::Auto, 4};

DecForm formatOf(const EquationFile& eqn, const std::string& name) {
  const VariableDeclaration* d = eqn.declaration(name);
  if (d == nullptr || !d->format || d->format->Style == DecStyle::StrVar) return kAutoFormat;
  return *d->format;
}

std::string unitsOf(const EquationFile& eqn, const std::string& name) {
  const VariableDeclaration* d = eqn.declaration(name);
  return d == nullptr ? std::string() : d->units;
}

// A text field must stay one field of one line.
std::string asField(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// A value outside the range its VAR line declares stops the solve at once, before
// anything computed from it can fail less clearly.
void checkRange(const EquationFile& eqn, const std::string& name, const Value& v) {
  const VariableDeclaration* d = eqn.declaration(name);
  if (d == nullptr || (!d->min && !d->max) || v.isText()) return;
  const Number x = v.number();
  if ((d->min && x < *d->min) || (d->max && x > *d->max)) {
    const DecForm f = formatOf(eqn, d->name);
    const std::string units = d->units.empty() ? std::string() : " " + d->units;
    throw SolverError(d->name + " = " + AutoSVAL(x, f) + units + kOutOfRange +
                      AutoSVAL(d->min ? *d->min : -kInfinity, f) + " to " +
                      AutoSVAL(d->max ? *d->max : kInfinity, f) + units + " (" + d->where + ")");
  }
}

Number numberFor(const Calculation& calc, const Expression& e, const std::string& what) {
  try {
    const Value v = calc.evaluate(e);
    if (v.isText()) throw SolverError(std::string(kEvalTextInArithmetic) + " in " + what);
    return v.number();
  } catch (const Expression::EvaluationError& err) {
    throw SolverError(std::string(err.what()) + " in " + what);
  }
}

void drawPlot(PlotDeclaration& plot, const PlotRequest& request, Calculation& calc) {
  const std::string ext = upper(fs::path(request.file).extension().string());
  if (ext != ".GIF" && ext != ".PNG") throw SolverError(std::string(kPlotFileType) + request.file);

  const std::string name = "PLOT " + std::to_string(plot.window) + " (" + plot.where + ")";
  if (!calc.isDefined(plot.xName)) {
    throw SolverError(std::string(kUnknownVariable) + plot.xName + " in " + name);
  }
  for (auto* e : {&plot.xMin, &plot.xMax, &plot.yMin, &plot.yMax}) {
    if (*e) calc.bind(**e, name);
  }
  for (auto& c : plot.curves) calc.bind(c.y, "Y of " + name);

  ChartSpec spec;
  spec.width = plot.width;
  spec.height = plot.height;
  spec.title = plot.title;
  spec.xTitle = plot.xTitle;
  spec.yTitle = plot.yTitle;
  const Number xMin = numberFor(calc, *plot.xMin, "XMIN of " + name);
  const Number xMax = numberFor(calc, *plot.xMax, "XMAX of " + name);
  if (!(xMax > xMin)) {
    throw SolverError("The x range of " + name + " is empty: from " + AutoSVAL(xMin, kAutoFormat) +
                      " to " + AutoSVAL(xMax, kAutoFormat));
  }
  spec.xMin = static_cast<double>(xMin);
  spec.xMax = static_cast<double>(xMax);
  if (plot.yMin) spec.yMin = static_cast<double>(numberFor(calc, *plot.yMin, "YMIN of " + name));
  if (plot.yMax) spec.yMax = static_cast<double>(numberFor(calc, *plot.yMax, "YMAX of " + name));
  if (spec.yMin && spec.yMax && !(*spec.yMax > *spec.yMin)) {
    throw SolverError("The y range of " + name + " is empty");
  }

  const int count = plot.points > 0 ? plot.points : std::max(2, plot.width / 2);
  std::vector<Number> xs;
  xs.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) xs.push_back(xMin + (xMax - xMin) * i / (count - 1));
  std::vector<const Expression*> ys;
  for (const auto& c : plot.curves) ys.push_back(&c.y);
  const auto samples = calc.sweep(plot.xName, xs, ys);

  const Value& current = calc.value(plot.xName);
  if (!current.isText()) spec.currentX = static_cast<double>(current.number());
  bool anyPoint = false;
  for (std::size_t i = 0; i < plot.curves.size(); ++i) {
    ChartSeries series;
    series.label = plot.curves[i].label;
    for (std::size_t k = 0; k < xs.size(); ++k) {
      series.xs.push_back(static_cast<double>(xs[k]));
      const auto& y = samples[i][k];
      series.ys.push_back(y ? std::optional<double>(static_cast<double>(*y)) : std::nullopt);
      if (y && std::isfinite(static_cast<double>(*y))) anyPoint = true;
    }
    try {
      const Value v = calc.evaluate(plot.curves[i].y);
      if (!v.isText()) series.currentY = static_cast<double>(v.number());
    } catch (const Expression::EvaluationError&) {
      // The current point of this curve cannot be computed: it is not marked.
    }
    spec.series.push_back(std::move(series));
  }
  if (!anyPoint) throw SolverError(withPrintf(kPlotNoPoints, plot.window));

  // Ranges are drawn in double precision: the page's infinity (1E3999) does not fit.
  auto drawable = [](const std::optional<double>& v) { return !v || std::isfinite(*v); };
  if (!std::isfinite(spec.xMin) || !std::isfinite(spec.xMax) || !drawable(spec.yMin) ||
      !drawable(spec.yMax)) {
    throw SolverError(name + " cannot be drawn: its range is too large");
  }
  std::optional<RgbImage> drawn;
  try {
    drawn.emplace(LineChart::render(spec));
  } catch (const std::invalid_argument& e) {
    throw SolverError(name + " cannot be drawn: " + e.what());
  }
  const RgbImage& chart = *drawn;
  RgbaImage rgba(chart.width(), chart.height());
  const auto& rgb = chart.pixels();
  for (std::size_t p = 0, n = static_cast<std::size_t>(chart.width()) * chart.height(); p < n;
       ++p) {
    rgba.pixels[p * 4] = rgb[p * 3];
    rgba.pixels[p * 4 + 1] = rgb[p * 3 + 1];
    rgba.pixels[p * 4 + 2] = rgb[p * 3 + 2];
    rgba.pixels[p * 4 + 3] = 255;
  }
  const std::vector<std::uint8_t> bytes = ext == ".GIF" ? encodeGif(rgba) : encodePng(rgba);
  writeFileAtomically(request.file,
                      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void solveAndWrite(const std::string& programName, const std::string& inputPath,
                   std::string& resultPath) {
  const auto eqnPath = SolverRun::findEquationFile(programName);
  if (!eqnPath) {
    throw SolverError(std::string(kEquationsNotFound) +
                      SolverRun::replaceExtension(fileNameOf(programName), ".EQN"));
  }
  const std::string eqnName = fileNameOf(*eqnPath);
  EquationFile eqn = EquationFile::parse(readTextLines(*eqnPath, TextEncoding::Detect), eqnName);
  SolverInput input = SolverInput::parse(readTextLines(inputPath, TextEncoding::Cp1252));
  resultPath = input.resultFile();

  Calculation calc;
  for (auto& d : eqn.definitions()) calc.define(std::move(d));
  for (auto& d : input.definitions()) calc.define(std::move(d));
  calc.solve([&eqn](const std::string& name, const Value& v) { checkRange(eqn, name, v); });

  std::string line;
  for (std::size_t i = 0; i < input.exportNames().size(); ++i) {
    const std::string& name = input.exportNames()[i];
    if (!calc.isDefined(name)) {
      throw SolverError(std::string(kUnknownVariable) + name + " in the $EXPORT list");
    }
    if (i > 0) line += '\t';
    const Value& v = calc.value(name);
    if (v.isText()) {
      line += asField(v.text());
      continue;
    }
    line += AutoSVAL(v.number(), input.withFormats() ? formatOf(eqn, name) : kAutoFormat);
    const std::string units = unitsOf(eqn, name);
    if (input.withUnits() && !units.empty()) line += " [" + asField(units) + "]";
  }

  for (const auto& request : input.plots()) {
    PlotDeclaration* plot = nullptr;
    for (auto& p : eqn.plots()) {
      if (p.window == request.window) plot = &p;
    }
    if (plot == nullptr) throw SolverError(withPrintf(kPlotNotDeclared, request.window) + eqnName);
    drawPlot(*plot, request, calc);
  }

  writeFileAtomically(resultPath, utf8ToCp1252(line) + "\r\n");
}

}  // namespace

std::optional<std::string> SolverRun::inputFileFromArguments(const std::vector<std::string>& args) {
  static const std::string kSwitch = "DIAGRAMINPUT=";
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() <= kSwitch.size() || (a[0] != '/' && a[0] != '-')) continue;
    if (upper(a.substr(1, kSwitch.size())) != kSwitch) continue;
    std::string path = a.substr(1 + kSwitch.size());
    for (std::size_t j = i + 1; j < args.size(); ++j) path += " " + args[j];
    if (path.empty()) return std::nullopt;
    return path;
  }
  return std::nullopt;
}

std::string SolverRun::replaceExtension(const std::string& path, const std::string& extension) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return path + extension;
  return path.substr(0, dot) + extension;
}

std::optional<std::string> SolverRun::findEquationFile(const std::string& programName) {
  const std::string wanted = replaceExtension(fileNameOf(programName), ".EQN");
  std::vector<fs::path> dirs;
  if (programName.find('/') != std::string::npos)
    dirs.push_back(fs::path(programName).parent_path());
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) dirs.push_back(self.parent_path());
  dirs.push_back(fs::current_path(ec));

  for (const auto& dir : dirs) {
    if (dir.empty()) continue;
    const fs::path exact = dir / wanted;
    if (fs::is_regular_file(exact, ec)) return exact.string();
    // Authors copy their files from Windows, where letter case does not matter.
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (upper(name) == upper(wanted) && it->is_regular_file(ec)) return it->path().string();
    }
  }
  return std::nullopt;
}

int SolverRun::run(const std::vector<std::string>& args) {
  const auto inputPath = inputFileFromArguments(args);
  if (args.empty() || !inputPath) {
    std::cerr << kUsage << '\n';
    return 2;
  }
  const std::string errorPath = replaceExtension(*inputPath, ".err");
  std::string resultPath;
  std::string message;
  try {
    solveAndWrite(args[0], *inputPath, resultPath);
    // A stale error file of this input file's name would hide the new results.
    std::remove(errorPath.c_str());
    return 0;
  } catch (const SolverError& e) {
    message = e.what();
  } catch (const std::exception& e) {
    message = std::string("Internal error: ") + e.what();
  }
  if (!resultPath.empty()) std::remove(resultPath.c_str());
  try {
    writeFileAtomically(errorPath, utf8ToCp1252(asField(message)) + "\r\n");
  } catch (const std::exception& e) {
    std::cerr << message << '\n' << e.what() << '\n';
    return 3;
  }
  return 1;
}

}  // namespace orv::solver
