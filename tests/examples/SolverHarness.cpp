#include "tests/examples/SolverHarness.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/CodePage.h"
#include "platform/Process.h"

namespace orv::solver::test {

namespace fs = std::filesystem;

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(out) << path;
  out << bytes;
  ASSERT_TRUE(out) << path;
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

SolverHarness::SolverHarness(std::string name) : name_(std::move(name)) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/orv-solver-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  fs::create_symlink(ORV_SOLVER_EXE, path(name_ + ".EXE"));
}

SolverHarness::~SolverHarness() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void SolverHarness::writeEquations(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  writeFile(path(name_ + ".EQN"), text);
}

std::string SolverHarness::inputFile() const { return path(name_ + "@8001_4711.TXT"); }
std::string SolverHarness::resultFile() const { return path(name_ + "@8001_4711.out"); }
std::string SolverHarness::errorFile() const { return path(name_ + "@8001_4711.err"); }

std::string SolverHarness::exportLine(const std::vector<std::string>& names, bool units,
                                      bool formats) const {
  std::string line = "$EXPORT '" + resultFile() + "'";
  if (units && formats) {
    line += " /U /D ";
  } else if (units) {
    line += " /U ";
  } else if (formats) {
    line += " /D ";
  } else {
    line += " ";
  }
  for (const auto& n : names) line += n + " ";
  return line;
}

int SolverHarness::runCommand(const std::string& command, const std::string& workingDir) {
  const ProcessResult r = runProcessAndWait(command, workingDir, std::chrono::seconds(60));
  if (r.outcome != ProcessOutcome::Finished) return -1;
  return r.exitCode;
}

SolverHarness::Outcome SolverHarness::run(const std::vector<std::string>& inputLines) {
  std::string bytes;
  for (const auto& l : inputLines) bytes += utf8ToCp1252(l) + "\r\n";
  writeFile(inputFile(), bytes);
  return collect(runCommand(name_ + ".EXE /DIAGRAMINPUT=" + inputFile(), dir_));
}

SolverHarness::Outcome SolverHarness::collect(int exitCode) const {
  Outcome o;
  o.exitCode = exitCode;
  auto firstLine = [](const std::string& bytes) {
    const std::size_t end = bytes.find_first_of("\r\n");
    return cp1252ToUtf8(bytes.substr(0, end));
  };
  o.resultBytes = readFile(resultFile());
  o.errorBytes = readFile(errorFile());
  if (o.resultBytes) o.result = firstLine(*o.resultBytes);
  if (o.errorBytes) o.error = firstLine(*o.errorBytes);
  return o;
}

std::vector<std::string> SolverHarness::fields(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

std::optional<DecodedPicture> decodePng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  DecodedPicture p;
  p.width = static_cast<int>(image.width);
  p.height = static_cast<int>(image.height);
  p.rgb.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return std::nullopt;
  }
  return p;
}

std::optional<DecodedPicture> decodeGif(const std::string& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr) return std::nullopt;
  std::optional<DecodedPicture> result;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1) {
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* map =
        frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
    if (map != nullptr && frame.ImageDesc.Width == gif->SWidth &&
        frame.ImageDesc.Height == gif->SHeight) {
      DecodedPicture p;
      p.width = gif->SWidth;
      p.height = gif->SHeight;
      p.rgb.reserve(static_cast<std::size_t>(p.width) * p.height * 3);
      for (int i = 0; i < p.width * p.height; ++i) {
        const GifColorType c = map->Colors[frame.RasterBits[i] % map->ColorCount];
        p.rgb.push_back(c.Red);
        p.rgb.push_back(c.Green);
        p.rgb.push_back(c.Blue);
      }
      result = std::move(p);
    }
  }
  DGifCloseFile(gif, &error);
  return result;
}

}  // namespace orv::solver::test
