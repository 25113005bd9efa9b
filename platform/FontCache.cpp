#include "platform/FontCache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

#include "platform/LogFile.h"

namespace orv {

namespace detail {
namespace {

constexpr int kMaxPixelsPerEm = 2000;
// Characters beyond U+00FF whose advances are remembered per size; more are measured
// each time, so no text can grow the cache without bound.
constexpr std::size_t kMaxCachedOthers = 4096;
// Families reported as missing; later misses are measured the same, only unlogged.
constexpr std::size_t kMaxLoggedFallbacks = 256;
constexpr const char* kFallbackFamily = "Liberation Sans";

// The desktop's families and the metric-compatible fonts that stand in for them.
const std::map<std::string, std::string>& familyMap() {
  static const std::map<std::string, std::string> m = {
      {"arial", "Liberation Sans"},         {"times new roman", "Liberation Serif"},
      {"courier new", "Liberation Mono"},   {"century schoolbk", "C059"},
      {"bookman old style", "URW Bookman"}, {"symbol", "Standard Symbols PS"},
      {"ms sans serif", "Liberation Sans"},
  };
  return m;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string trimName(const std::string& s) {
  const auto isJunk = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
  std::size_t b = 0, e = s.size();
  while (b < e && isJunk(s[b])) ++b;
  while (e > b && isJunk(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::vector<std::string> familyList(const std::string& family) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (;;) {
    const auto comma = family.find(',', start);
    std::string name = trimName(
        family.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!name.empty()) names.push_back(std::move(name));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return names;
}

}  // namespace
}  // namespace detail

// The FreeType library and fontconfig's configuration, both used only under the
// registry lock.
struct FontCache::Library {
  FT_Library ft = nullptr;
  FcConfig* config = nullptr;
  Library() {
    if (FT_Init_FreeType(&ft) != 0) ft = nullptr;
    config = FcInitLoadConfigAndFonts();
  }
  ~Library() {
    if (config != nullptr) FcConfigDestroy(config);
    if (ft != nullptr) FT_Done_FreeType(ft);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
};

// One loaded font file (or, when no font could be loaded at all, an estimate).
class FontCache::Face {
 public:
  Face() = default;
  ~Face() {
    if (ft != nullptr) FT_Done_Face(ft);
  }
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;

  // Guards ft (its active size and glyph slot), currentPpem, sizes and every
  // SizedFont's others_. Taken after the registry lock, never before it.
  std::mutex mutex;
  FT_Face ft = nullptr;
  int currentPpem = 0;
  std::map<int, std::unique_ptr<SizedFont>> sizes;

  // Fixed after loading:
  std::string family;          // as fontconfig names it
  bool syntheticBold = false;  // bold asked of a family without a bold face
  int unitsPerEm = 1000;
  int cellUnits = 1150;  // usWinAscent + usWinDescent (or the hhea pair) in font units

  // Hinted advance in whole pixels at ppem. Caller holds `mutex`.
  int advanceLocked(char32_t cp, int ppem) {
    int px;
    if (ft == nullptr) {
      px = (ppem + 1) / 2;  // no font on this machine: half an em per character
    } else {
      if (currentPpem != ppem) {
        FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(ppem));
        currentPpem = ppem;
      }
      const FT_UInt glyph = FT_Get_Char_Index(ft, cp);
      if (FT_Load_Glyph(ft, glyph, FT_LOAD_DEFAULT) != 0) return 0;
      // Hinting leaves whole pixels here; rounding keeps it so for any face.
      px = static_cast<int>((ft->glyph->advance.x + 32) >> 6);
    }
    return syntheticBold ? px + 1 : px;
  }

  // Pixels per em for a desktop font height: negative is the em height, positive the
  // cell height (ascent plus descent).
  int ppemFor(int fontHeight) const {
    long long ppem;
    if (fontHeight < 0) {
      ppem = -static_cast<long long>(fontHeight);
    } else {
      ppem = (static_cast<long long>(fontHeight) * unitsPerEm + cellUnits / 2) / cellUnits;
    }
    return static_cast<int>(std::clamp<long long>(ppem, 1, detail::kMaxPixelsPerEm));
  }
};

int FontCache::SizedFont::advance(char32_t cp) const {
  if (cp < 256) return latin_[cp];
  std::lock_guard lock(face_->mutex);
  if (const auto it = others_.find(cp); it != others_.end()) return it->second;
  const int px = face_->advanceLocked(cp, ppem_);
  if (others_.size() < detail::kMaxCachedOthers) others_.emplace(cp, px);
  return px;
}

FontCache& FontCache::instance() {
  static FontCache cache;
  return cache;
}

FontCache::FontCache() : library_(std::make_unique<Library>()) {}

FontCache::~FontCache() {
  // Faces before the library that made them.
  resolved_.clear();
  faces_.clear();
  library_.reset();
}

const FontCache::SizedFont& FontCache::sized(const std::string& family, bool bold, bool italic,
                                             int fontHeight) {
  Face& f = face(family, bold, italic);
  std::lock_guard lock(f.mutex);
  const int ppem = f.ppemFor(fontHeight);
  std::unique_ptr<SizedFont>& slot = f.sizes[ppem];
  if (!slot) {
    auto s = std::unique_ptr<SizedFont>(new SizedFont());
    s->face_ = &f;
    s->ppem_ = ppem;
    s->height_ =
        f.ft == nullptr
            ? (ppem * 115 + 99) / 100
            : static_cast<int>((static_cast<long long>(f.cellUnits) * ppem + f.unitsPerEm - 1) /
                               f.unitsPerEm);
    for (char32_t cp = 0; cp < 256; ++cp) s->latin_[cp] = f.advanceLocked(cp, ppem);
    slot = std::move(s);
  }
  return *slot;
}

std::string FontCache::resolvedFamily(const std::string& family, bool bold, bool italic) {
  Face& f = face(family, bold, italic);
  return f.family;  // fixed after loading: no lock needed
}

FontCache::Face& FontCache::face(const std::string& family, bool bold, bool italic) {
  std::string key = detail::lower(family);
  key += bold ? "\x01"
                "b"
              : "\x01"
                "-";
  key += italic ? 'i' : '-';
  {
    std::shared_lock lock(mutex_);
    if (const auto it = resolved_.find(key); it != resolved_.end()) return *it->second;
  }
  std::unique_lock lock(mutex_);
  if (const auto it = resolved_.find(key); it != resolved_.end()) return *it->second;
  return resolveLocked(key, family, bold, italic);
}

FontCache::Face& FontCache::resolveLocked(const std::string& key, const std::string& family,
                                          bool bold, bool italic) {
  for (const std::string& name : detail::familyList(family)) {
    const auto mapped = detail::familyMap().find(detail::lower(name));
    const std::string wanted = mapped != detail::familyMap().end() ? mapped->second : name;
    if (Face* f = loadLocked(wanted, bold, italic)) {
      resolved_[key] = f;
      return *f;
    }
  }

  const std::string logKey = detail::lower(family);
  if (!loggedFallbacks_.contains(logKey) && loggedFallbacks_.size() < detail::kMaxLoggedFallbacks) {
    loggedFallbacks_.insert(logKey);
    LogFileAppend(
        "Font family \"" + family + "\" not found; text is measured in " + detail::kFallbackFamily,
        "log");
  }
  Face* f = loadLocked(detail::kFallbackFamily, bold, italic);
  if (f == nullptr) f = loadLocked("", bold, italic);  // fontconfig's own default
  if (f == nullptr) {
    // No usable font on this machine: an estimating face keeps pages working.
    auto& slot = faces_["(estimate)"];
    if (!slot) {
      slot = std::make_unique<Face>();
      slot->family = "(estimate)";
    }
    f = slot.get();
  }
  resolved_[key] = f;
  return *f;
}

// Loads the face fontconfig picks for a family and style; nullptr when the family is
// not installed (fontconfig would offer some other family) or cannot be loaded. An
// empty `wanted` accepts whatever fontconfig picks.
FontCache::Face* FontCache::loadLocked(const std::string& wanted, bool bold, bool italic) {
  if (library_->ft == nullptr || library_->config == nullptr) return nullptr;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return nullptr;
  if (!wanted.empty()) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(library_->config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(library_->config, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return nullptr;
  // Owns `match` for the rest of this function.
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> matchOwner(match,
                                                                           &FcPatternDestroy);

  FcChar8* value = nullptr;
  std::string family;
  bool familyFound = wanted.empty();
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    const std::string name = reinterpret_cast<const char*>(value);
    if (i == 0) family = name;
    if (detail::lower(name) == detail::lower(wanted)) {
      familyFound = true;
      family = name;
    }
  }
  if (!familyFound) return nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &value) != FcResultMatch) return nullptr;
  const std::string file = reinterpret_cast<const char*>(value);
  int index = 0;
  FcPatternGetInteger(match, FC_INDEX, 0, &index);
  // fontconfig asks for emboldening when the family has no face as heavy as asked.
  FcBool embolden = FcFalse;
  FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
  const bool syntheticBold = bold && embolden == FcTrue;

  const std::string faceKey = file + '#' + std::to_string(index) + (syntheticBold ? "#b" : "");
  if (const auto it = faces_.find(faceKey); it != faces_.end()) return it->second.get();

  FT_Face ft = nullptr;
  if (FT_New_Face(library_->ft, file.c_str(), index, &ft) != 0) return nullptr;
  auto face = std::make_unique<Face>();
  face->ft = ft;  // owned by `face` from here on
  if (!FT_IS_SCALABLE(ft)) return nullptr;
  face->family = family;
  face->syntheticBold = syntheticBold;
  face->unitsPerEm = ft->units_per_EM > 0 ? ft->units_per_EM : 1000;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    face->cellUnits = os2->usWinAscent + os2->usWinDescent;
  } else if (ft->ascender - ft->descender > 0) {
    face->cellUnits = ft->ascender - ft->descender;
  } else {
    face->cellUnits = face->unitsPerEm * 115 / 100;
  }
  Face* raw = face.get();
  faces_.emplace(faceKey, std::move(face));
  return raw;
}

}  // namespace orv
