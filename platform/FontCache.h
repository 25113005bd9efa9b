#pragma once
// The process-wide store of loaded font faces behind text measurement.
//
// It resolves a family name and style to a font file through fontconfig (with the
// metric-compatible replacements of the desktop's families), loads each file once
// with FreeType, and keeps, per face and pixel size, the hinted whole-pixel advance
// widths and the line height. Everything it loads lives until the process ends, so
// the references it hands out stay valid.
//
// Thread-safe. Locks: `mutex_` (the registry: names, faces, the FreeType library)
// comes first; each face's own mutex (FreeType faces are not thread-safe: their size
// and glyph slot, and the face's size table) second. A face mutex is never held while
// the registry is locked anew. Reporting a missing family takes the log file's and the
// executable paths' locks (both leaves) under the registry lock.
#include <memory>
#include <mutex>
#include <set>
#include <shared_mutex>
#include <string>
#include <unordered_map>

namespace orv {

class FontCache {
 public:
  class Face;

  // Metrics of one face at one pixel size. Created once and never changed, except for
  // the lazily filled advances beyond U+00FF, which are guarded by the face's mutex.
  class SizedFont {
   public:
    // Hinted advance of a character in whole pixels (synthetic bold included).
    int advance(char32_t cp) const;
    // Ascent plus descent in pixels.
    int height() const { return height_; }

   private:
    friend class FontCache;
    SizedFont() = default;
    Face* face_ = nullptr;  // owner of this object; lives as long as the cache
    int ppem_ = 0;
    int height_ = 0;
    int latin_[256] = {};                               // U+0000..U+00FF, filled at creation
    mutable std::unordered_map<char32_t, int> others_;  // guarded by the face's mutex
  };

  static FontCache& instance();

  // The metrics for a family name (a desktop family, a fontconfig family, or a
  // comma-separated list of them, tried in order), a style and a pixel size.
  // Never fails: an unknown family falls back to Liberation Sans (logged once).
  const SizedFont& sized(const std::string& family, bool bold, bool italic, int ppem);

  // The font family a name resolves to, as fontconfig names it (for tests and logs).
  std::string resolvedFamily(const std::string& family, bool bold, bool italic);

  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

 private:
  FontCache();
  Face& face(const std::string& family, bool bold, bool italic);
  Face& resolveLocked(const std::string& key, const std::string& family, bool bold, bool italic);
  Face* loadLocked(const std::string& wanted, bool bold, bool italic);

  struct Library;
  std::unique_ptr<Library> library_;  // guarded by mutex_; destroyed after faces_

  mutable std::shared_mutex mutex_;
  std::unordered_map<std::string, std::unique_ptr<Face>> faces_;  // by file and index
  std::unordered_map<std::string, Face*> resolved_;               // by lower-case name and style
  std::set<std::string> loggedFallbacks_;                         // families already reported
};

}  // namespace orv
