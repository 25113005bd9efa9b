// The pump demo as shipped: its layout uses every kind of line, the solver solves it
// with exactly the input file the page writes for each choice of drop-down, check box
// and radio button, its pictures are readable, and the staging script puts everything
// beside the server.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "platform/CodePage.h"
#include "tests/examples/SolverHarness.h"

namespace orv::solver::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kPump = std::string(ORV_SOURCE_DIR) + "/examples/pump";

Lines splitTabs(const std::string& line) { return SolverHarness::fields(line); }

// The items of a layout file as the page reads them: keyword, fields and continuation
// lines (HEADER: 3 lines; DROPDOWN: N entries; CHECKBOX: block up to "<>"; RADIO: N
// captions, then N blocks each ending with "<>" or "--").
struct Item {
  std::string keyword;
  Lines fields;  // after the keyword
  Lines more;    // continuation lines
  std::vector<Lines> blocks;
};

std::vector<Item> readLayout() {
  auto bytes = readFile(kPump + "/PUMP.DLY");
  EXPECT_TRUE(bytes);
  std::string text = *bytes;
  EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u) << "UTF-8 with byte-order mark";
  text = text.substr(3);
  Lines lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 2;
  }
  std::vector<Item> items;
  std::size_t lp = 5;
  auto next = [&]() -> std::string {
    if (lp >= lines.size()) throw std::runtime_error("continuation runs past the end");
    return lines[lp++];
  };
  while (lp < lines.size()) {
    Lines f = splitTabs(lines[lp++]);
    Item item;
    item.keyword = f[0];
    item.fields.assign(f.begin() + 1, f.end());
    if (item.keyword == "HEADER") {
      for (int i = 0; i < 3; ++i) item.more.push_back(next());
    } else if (item.keyword == "DROPDOWN") {
      for (int i = 0; i < std::stoi(item.fields.at(4)); ++i) item.more.push_back(next());
    } else if (item.keyword == "CHECKBOX") {
      for (std::string l = next(); l != "<>"; l = next()) item.more.push_back(l);
    } else if (item.keyword == "RADIO") {
      const int n = std::stoi(item.fields.at(4));
      for (int i = 0; i < n; ++i) item.more.push_back(next());
      for (int i = 0; i < n; ++i) {
        Lines block;
        for (std::string l = next(); l != "<>" && l != "--"; l = next()) block.push_back(l);
        item.blocks.push_back(block);
      }
    }
    items.push_back(item);
  }
  return items;
}

// The page's choices: drop-down entries, check box states and radio buttons.
struct Choices {
  std::map<std::size_t, std::size_t> entry;  // item index -> entry / button
  std::map<std::size_t, bool> checked;
};

// The solver input file the page writes for the layout's initial values and choices.
Lines pageInput(const std::vector<Item>& items, const Choices& c, const SolverHarness& h,
                const std::string& imgs) {
  Lines in;
  Lines outputs;
  Lines plots;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    if (it.keyword == "INPUT") {
      const std::string& name = it.fields[0];
      const bool text = name.back() == '$' || it.fields[7][0] == 'S';
      in.push_back(name + "=" + (text ? "'" + it.fields[4] + "'" : it.fields[4]));
    } else if (it.keyword == "DROPDOWN") {
      const std::size_t k = c.entry.count(i) ? c.entry.at(i) : std::stoul(it.fields[5]);
      const std::string& entry = it.more.at(k);
      if (entry.find('\'') == std::string::npos) in.push_back(it.fields[0] + "='" + entry + "'");
      if (const auto at = entry.find("//"); at != std::string::npos)
        in.push_back(entry.substr(at + 2));
    }
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    if (it.keyword != "CHECKBOX") continue;
    const bool on = c.checked.count(i) && c.checked.at(i);
    bool afterDivider = false;
    for (const auto& l : it.more) {
      if (l == "--") {
        afterDivider = true;
      } else if (afterDivider != on) {
        in.push_back(l);
      }
    }
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    if (it.keyword == "RADIO") {
      const auto& block = it.blocks.at(c.entry.count(i) ? c.entry.at(i) : 0);
      in.insert(in.end(), block.begin(), block.end());
    } else if (it.keyword == "OUTPUT") {
      outputs.push_back(it.fields[0]);
    } else if (it.keyword == "PLOT") {
      plots.push_back("$EXPORTPLOT '" + imgs + "/" + it.fields[1] + "' " + it.fields[0] + " /R=1");
    }
  }
  in.push_back(h.exportLine(outputs));
  in.insert(in.end(), plots.begin(), plots.end());
  return in;
}

class DemoCalculationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    items_ = readLayout();
    fs::copy_file(kPump + "/PUMP.EQN", h_.path("PUMP.EQN"));
    fs::create_directory(h_.path("IMGS"));
  }
  std::vector<Item> items_;
  SolverHarness h_{"PUMP"};
};

TEST_F(DemoCalculationTest, LayoutUsesEveryKindOfLine) {
  std::set<std::string> seen;
  for (const auto& it : items_) seen.insert(it.keyword);
  const std::set<std::string> all = {
      "HEADER",   "INPUT", "DROPDOWN",   "OUTPUT",     "MEMO",       "LABEL",
      "SCREEN",   "IMG",   "PLOT",       "LINE",       "RULE",       "BOX",
      "CHECKBOX", "RADIO", "CALCBUTTON", "SAVEBUTTON", "LOADBUTTON", "HELPBUTTON"};
  EXPECT_EQ(seen, all);
  // Both forms of OUTPUT, of radio blocks, drop-down entries with and without "//".
  bool named = false, unnamed = false, withUnits = false, withoutUnits = false;
  for (const auto& it : items_) {
    if (it.keyword != "OUTPUT") continue;
    (it.fields[2] == "1" ? named : unnamed) = true;
    (it.fields[3] == "1" && !it.fields[1].empty() ? withUnits : withoutUnits) = true;
  }
  EXPECT_TRUE(named && unnamed && withUnits && withoutUnits);
  for (const auto& it : items_) {
    if (it.keyword == "CHECKBOX") {
      EXPECT_NE(std::find(it.more.begin(), it.more.end(), "--"), it.more.end());
    }
  }
}

TEST_F(DemoCalculationTest, LayoutNamesOnlyPicturesAndFilesThatExist) {
  for (const auto& it : items_) {
    if (it.keyword == "IMG" || it.keyword == "LINE") {
      EXPECT_TRUE(decodeGif(kPump + "/IMGS/" + it.fields[0])) << it.fields[0];
    } else if (it.keyword == "PLOT") {
      const auto p = decodeGif(kPump + "/IMGS/" + it.fields[1]);
      ASSERT_TRUE(p) << it.fields[1];
      // The page keeps a plot at the size of its first picture: the solver's pictures
      // must have that size.
      SCOPED_TRACE(it.fields[1]);
      EXPECT_EQ(p->width, 330);
      EXPECT_EQ(p->height, 220);
    } else if (it.keyword == "MEMO") {
      EXPECT_TRUE(fs::exists(kPump + "/" + it.fields[0]));
    }
  }
  EXPECT_TRUE(fs::exists(kPump + "/DATA"));
}

TEST_F(DemoCalculationTest, SolvesTheInputFileThePageWritesAtFirst) {
  const auto o = h_.run(pageInput(items_, {}, h_, h_.path("IMGS")));
  ASSERT_EQ(o.exitCode, 0) << (o.error ? *o.error : "");
  const Lines f = SolverHarness::fields(*o.result);
  std::size_t outputs = 0;
  for (const auto& it : items_) outputs += it.keyword == "OUTPUT";
  ASSERT_EQ(f.size(), outputs);
  // Hand check: Q = 60 m³/h in DN100 commercial steel, 150 m, lift 20 m, K = 8, water
  // at 20 °C: v = 2.12 m/s, Re = 2.11E5, Swamee-Jain f = 0.0186, h_f = 6.40 m,
  // h_m = 1.84 m, H = 28.2 m, P_hyd = 4.61 kW, P_shaft = 6.40 kW at 72 %, motor input
  // 7.00 kW at 91.4 % (IE3); NPSHa = 10.11 + 2 - 0.60 = 11.51 m.
  EXPECT_EQ(f, (Lines{"2.12 [m/s]", "211361", "turbulent", "0.0186", "6.40 [m]", "1.84 [m]",
                      "28.23 [m]", "4.61 [kW]", "6.40 [kW]", "7.00 [kW]", "11.51 [m]", "8.51 [m]",
                      "OK", "water, 20 °C"}));
  for (const char* plot : {"PUMPPLOT1.GIF", "PUMPPLOT2.GIF"}) {
    const auto p = decodeGif(h_.path(std::string("IMGS/") + plot));
    ASSERT_TRUE(p) << plot;
    EXPECT_EQ(p->width, 330);
    EXPECT_EQ(p->height, 220);
  }
}

TEST_F(DemoCalculationTest, SolvesEveryChoiceOfTheLayout) {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const Item& it = items_[i];
    const std::size_t n = it.keyword == "DROPDOWN"   ? it.more.size()
                          : it.keyword == "RADIO"    ? it.blocks.size()
                          : it.keyword == "CHECKBOX" ? 2
                                                     : 0;
    for (std::size_t k = 0; k < n; ++k) {
      SCOPED_TRACE(it.keyword + " " + std::to_string(i) + " choice " + std::to_string(k));
      Choices c;
      if (it.keyword == "CHECKBOX") {
        c.checked[i] = k == 1;
      } else {
        c.entry[i] = k;
      }
      const auto o = h_.run(pageInput(items_, c, h_, h_.path("IMGS")));
      EXPECT_EQ(o.exitCode, 0) << (o.error ? *o.error : "");
      EXPECT_TRUE(o.result);
    }
  }
}

TEST_F(DemoCalculationTest, ChoicesChangeTheResults) {
  std::size_t fluid = 0, check = 0;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].keyword == "DROPDOWN" && items_[i].fields[0] == "Fluid$") fluid = i;
    if (items_[i].keyword == "CHECKBOX") check = i;
  }
  const auto base = h_.run(pageInput(items_, {}, h_, h_.path("IMGS")));
  Choices hot;
  hot.entry[fluid] = 2;  // water at 80 °C: far higher vapour pressure, less NPSH
  const auto hotRun = h_.run(pageInput(items_, hot, h_, h_.path("IMGS")));
  Choices frictionOnly;
  frictionOnly.checked[check] = true;
  const auto fr = h_.run(pageInput(items_, frictionOnly, h_, h_.path("IMGS")));
  ASSERT_TRUE(base.result && hotRun.result && fr.result);
  const Lines b = SolverHarness::fields(*base.result);
  const Lines t = SolverHarness::fields(*hotRun.result);
  const Lines c = SolverHarness::fields(*fr.result);
  EXPECT_EQ(t.back(), "water, 80 °C");
  EXPECT_LT(std::stod(t[10]), std::stod(b[10]) - 4);  // NPSHa drops by (47.4-2.3) kPa / rho g
  EXPECT_EQ(c[5], "0.00 [m]");                        // no minor losses
  EXPECT_EQ(c[6], "26.40 [m]");
}

TEST_F(DemoCalculationTest, RefusesAPipeFarTooSmallForTheFlow) {
  Lines in = pageInput(items_, {}, h_, h_.path("IMGS"));
  for (auto& l : in) {
    if (l.rfind("D=", 0) == 0) l = "D=20";
  }
  const auto o = h_.run(in);
  EXPECT_EQ(o.exitCode, 1);
  ASSERT_TRUE(o.error);
  EXPECT_EQ(
      o.error->rfind("v = 53.05 m/s is out of its range -infinity to 10.00 m/s (PUMP.EQN line ", 0),
      0u)
      << *o.error;
}

TEST(StageDemoTest, PutsTheCalculationBesideACopyOfTheServer) {
  SolverHarness tmp;  // only for its temporary folder
  const std::string build = tmp.path("build");
  fs::create_directories(build + "/bin");
  writeFile(build + "/bin/ORVWS", "#!/bin/sh\n");
  fs::copy_file(ORV_SOLVER_EXE, build + "/bin/orv_solver");
  fs::permissions(build + "/bin/ORVWS", fs::perms::owner_all);
  fs::create_directories(build + "/demo/DATA");
  writeFile(build + "/demo/DATA/kept.OWS", "x");
  writeFile(build + "/demo/OLD.DLY", "x");

  const std::string script = std::string(ORV_SOURCE_DIR) + "/scripts/stage-demo.sh";
  EXPECT_EQ(tmp.runCommand("/bin/bash " + script + " " + build, tmp.dir()), 0);
  const std::string demo = build + "/demo";
  for (const char* f :
       {"ORVWS", "PUMP.DLY", "PUMP.EXE", "PUMP.EQN", "NOTES.TXT", "IMGS/SCHEME.GIF",
        "IMGS/ARROW.GIF", "IMGS/PUMPPLOT1.GIF", "IMGS/PUMPPLOT2.GIF", "DATA/kept.OWS"}) {
    EXPECT_TRUE(fs::exists(demo + "/" + f)) << f;
  }
  EXPECT_FALSE(fs::exists(demo + "/OLD.DLY"));
  EXPECT_TRUE((fs::status(demo + "/PUMP.EXE").permissions() & fs::perms::owner_exec) !=
              fs::perms::none);

  // The staged solver solves beside the staged layout, as the page will run it.
  writeFile(demo + "/PUMP@8001_1.TXT", "$EXPORT '" + demo + "/PUMP@8001_1.out' /U /D H \r\n");
  EXPECT_EQ(tmp.runCommand("PUMP.EXE /DIAGRAMINPUT=" + demo + "/PUMP@8001_1.TXT", demo), 0);
  EXPECT_EQ(readFile(demo + "/PUMP@8001_1.out"), "28.23 [m]\r\n");

  // Without a built server it refuses clearly.
  fs::remove(build + "/bin/ORVWS");
  EXPECT_EQ(tmp.runCommand("/bin/bash " + script + " " + build, tmp.dir()), 1);
}

}  // namespace
}  // namespace orv::solver::test
