#pragma once
// The files compiled into the executable: the browser scripts, the style sheet, the
// images and the error page templates of framework/www/, each under its resource name
// in upper case (IW_JS_IWLIB, IW_GFX_TP, ...). The table is generated at build time
// from the files of this folder (IWLib.js from the pinned npm packages), sorted by
// name, and never changes while the process runs, so any thread may read it.
#include <cstddef>
#include <span>
#include <string_view>

namespace orv {

struct EmbeddedResource {
  std::string_view name;  // upper case
  std::span<const unsigned char> bytes;
};

// Every embedded file, sorted by name.
std::span<const EmbeddedResource> embeddedResources();

// The file with this name (compared without regard to case), or nullptr.
const EmbeddedResource* findEmbeddedResource(std::string_view name);

}  // namespace orv
