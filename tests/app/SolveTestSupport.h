#pragma once
// Helpers for the tests of the solve cycle and of saved input sets: layout lines of
// every kind of item, a small solver program written for the tests (a shell script
// named like the layout's solver), pictures, and looks into the server directory.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "app/WDiagramU.h"
#include "platform/Picture.h"
#include "tests/app/PageTestSupport.h"

namespace orv::test {

// The test solver. It records what it was given in seen/ (a copy of the input file
// under the input file's own name, its arguments one per line with their count first,
// its working directory), then answers from files the test put beside it:
//   answer.txt            copied to the result file named by the $EXPORT line
//   answer-from-input     a result line holding the value of the input line "T1=..."
//   error.txt             copied to the error file (the input file's name with ".err")
//   plot-W.gif            copied to the file named by the $EXPORTPLOT line of window W
//   plot-W-V.gif          preferred when the input line "T1=V" is there
//   barrier               holds a count: wait until that many solvers have arrived
//   hang                  sleep for a minute after answering (killed by the time limit)
inline constexpr const char* kTestSolver = R"SH(#!/bin/sh
LC_ALL=C; export LC_ALL
in="${1#/DIAGRAMINPUT=}"
name=$(basename "$in")
mkdir -p seen
cp "$in" "seen/$name"
printf '%s\n' "$#" "$@" > "seen/$name.args"
pwd > "seen/$name.cwd"
text=$(tr -d '\r' < "$in")
out=$(printf '%s\n' "$text" | sed -n "s/^[$]EXPORT '\([^']*\)' .*/\1/p")
t1=$(printf '%s\n' "$text" | sed -n 's/^T1=//p')
if [ -f barrier ]; then
  mkdir -p arrived
  : > "arrived/$name"
  n=0
  while [ "$(ls arrived | wc -l)" -lt "$(cat barrier)" ]; do
    n=$((n + 1))
    if [ $n -gt 4000 ]; then printf 'barrier not reached\r\n' > "${in%.TXT}.err"; exit 1; fi
    sleep 0.005
  done
fi
printf '%s\n' "$text" | sed -n "s/^[$]EXPORTPLOT '\([^']*\)' \([0-9-]*\) .*/\2 \1/p" |
while read -r w p; do
  pic="plot-$w.gif"
  if [ -f "plot-$w-$t1.gif" ]; then pic="plot-$w-$t1.gif"; fi
  if [ -f "$pic" ]; then cp "$pic" "$p"; fi
done
if [ -f answer.txt ]; then cp answer.txt "$out"; fi
if [ -f answer-from-input ]; then printf '%s\r\n' "$t1" > "$out"; fi
if [ -f error.txt ]; then cp error.txt "${in%.TXT}.err"; fi
if [ -f hang ]; then sleep 60; fi
exit 0
)SH";

// --- Layout lines -------------------------------------------------------------------

inline std::string inputItem(const std::string& name, const std::string& text,
                             const std::string& lower = "-inf", const std::string& upper = "inf",
                             const std::string& format = "A4") {
  return tabbed({"INPUT", name, "", "0", "0", text, lower, upper, format, "10", "10", "100", "20",
                 "16", "0", "0", "0"});
}

inline std::vector<std::string> dropDownItem(const std::string& name, int selection,
                                             std::initializer_list<std::string> entries) {
  std::vector<std::string> lines = {
      tabbed({"DROPDOWN", name, "", "0", "0", std::to_string(entries.size()),
              std::to_string(selection), "10", "40", "80", "20", "16", "0", "0", "0"})};
  lines.insert(lines.end(), entries.begin(), entries.end());
  return lines;
}

inline std::vector<std::string> checkBoxItem(const std::string& caption,
                                             std::initializer_list<std::string> block) {
  std::vector<std::string> lines = {
      tabbed({"CHECKBOX", caption, "10", "70", "100", "20", "10", "Arial", "0", "0"})};
  lines.insert(lines.end(), block.begin(), block.end());
  lines.push_back("<>");
  return lines;
}

inline std::vector<std::string> radioItem(std::initializer_list<std::string> captions,
                                          std::initializer_list<std::vector<std::string>> blocks) {
  std::vector<std::string> lines = {
      tabbed({"RADIO", "10", "100", "100", "60", std::to_string(captions.size()), "1", "10",
              "Arial", "0", "0"})};
  lines.insert(lines.end(), captions.begin(), captions.end());
  for (const auto& block : blocks) {
    lines.insert(lines.end(), block.begin(), block.end());
    lines.push_back("<>");
  }
  return lines;
}

inline std::string outputItem(const std::string& name, const std::string& units = "",
                              bool showUnits = false, const std::string& format = "A4",
                              int colour = 255) {
  return tabbed({"OUTPUT", name, units, "0", showUnits ? "1" : "0", "init", format, "300", "10",
                 "80", "20", "16", "0", "0", std::to_string(colour)});
}

inline std::string plotItem(int window, const std::string& file, int left = 300, int top = 100) {
  return tabbed({"PLOT", std::to_string(window), file, std::to_string(left), std::to_string(top)});
}

// Item lines given as single lines or as groups of lines, flattened in order.
class Items {
 public:
  Items& add(const std::string& line) {
    lines_.push_back(line);
    return *this;
  }
  Items& add(const std::vector<std::string>& lines) {
    lines_.insert(lines_.end(), lines.begin(), lines.end());
    return *this;
  }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// --- Files ----------------------------------------------------------------------------

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

// Names of the regular files directly in a folder, sorted.
inline std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The files of solve cycles ("...@port_number...") in a folder.
inline std::vector<std::string> cycleFilesIn(const std::string& dir) {
  std::vector<std::string> names;
  for (std::string& name : filesIn(dir)) {
    if (name.find('@') != std::string::npos) names.push_back(std::move(name));
  }
  return names;
}

// A picture of that size as a GIF file, every pixel in one colour.
inline std::string gifOf(int width, int height, std::uint8_t red) {
  RgbaImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.pixel(x, y);
      p[0] = red;
      p[1] = 0;
      p[2] = 0;
      p[3] = 255;
    }
  }
  Picture picture;
  picture.SetImage(std::move(image));
  const std::vector<std::uint8_t> bytes = picture.SaveAs(PictureFormat::Gif);
  return std::string(bytes.begin(), bytes.end());
}

inline std::string bytesOf(const Picture& picture) {
  const auto bytes = picture.Bytes();
  return std::string(bytes.begin(), bytes.end());
}

// A server directory (optionally a sub-folder of `dir`) with the layout "CALC.DLY" made
// of those item lines and the test solver as "CALC.EXE".
inline std::string writeCalculation(const ServerDir& dir, const std::vector<std::string>& items,
                                    const std::string& sub = "",
                                    const std::string& layoutName = "CALC.DLY",
                                    const std::string& solverName = "CALC.EXE") {
  std::vector<std::string> lines = layoutWith({});
  lines.insert(lines.end(), items.begin(), items.end());
  dir.writeLines(sub + layoutName, lines);
  dir.writeBytes(sub + solverName, kTestSolver);
  ::chmod((dir.path() + sub + solverName).c_str(), 0755);
  return dir.path() + sub;
}

inline std::unique_ptr<TORVServerForm> buildIn(
    const std::string& mainDir, std::optional<std::chrono::milliseconds> limit = std::nullopt,
    int port = kTestPort) {
  auto page = TIWAppForm::createForm<TORVServerForm>(ServerFormSettings{mainDir, port, limit});
  page->IWContinueBClick(*page->IWContinueB);
  return page;
}

// The number of the one cycle the solver has seen (from seen/<base>.TXT), or -1.
inline int seenCycleNumber(const std::string& mainDir, int port = kTestPort) {
  const std::regex pattern(".*@" + std::to_string(port) + "_([0-9]+)\\.TXT");
  int number = -1;
  for (const std::string& name : filesIn(mainDir + "seen")) {
    std::smatch m;
    if (std::regex_match(name, m, pattern)) number = std::stoi(m[1]);
  }
  return number;
}

}  // namespace orv::test
