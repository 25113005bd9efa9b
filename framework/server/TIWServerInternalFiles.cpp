#include "framework/server/TIWServerInternalFiles.h"

#include "framework/server/Messages.h"
#include "framework/server/ServerErrors.h"
#include "framework/server/ServerText.h"
#include "framework/server/ZStream.h"
#include "framework/www/EmbeddedResources.h"

namespace orv {

TIWServerInternalFiles& TIWServerInternalFiles::Instance() {
  static TIWServerInternalFiles table;
  return table;
}

void TIWServerInternalFiles::Add(std::string_view resourceName, std::string_view urlPath) {
  const EmbeddedResource* r = findEmbeddedResource(resourceName);
  if (r == nullptr)
    throw EInvalidResource(std::string(msg::kCannotFindInternalFile) + std::string(resourceName));
  AddBytes(resourceName, urlPath,
           std::string(reinterpret_cast<const char*>(r->bytes.data()), r->bytes.size()));
}

void TIWServerInternalFiles::AddBytes(std::string_view resourceName, std::string_view urlPath,
                                      std::string bytes) {
  TInternalFile row;
  row.mFileName = std::string(urlPath);
  row.mIsCompressed = false;
  row.mResource = std::make_shared<const std::string>(std::move(bytes));
  WriteLock hold(lock_);
  files_[detail::upper(resourceName)] = std::move(row);
}

void TIWServerInternalFiles::RegisterFrameworkFiles() {
  static constexpr std::pair<const char*, const char*> kFiles[] = {
      {"IW_FAVICON", "FAVICON.ICO"},
      {"IW_GFX_SECURITYCHECK", "SecurityCheckError.html"},
      {"IW_GFX_ERROR", "Error.html"},
      {"IW_GFX_SESSIONTIMEOUT", "SessionTimeout.html"},
      {"IW_GFX_SESSIONINVALID", "SessionInvalid.html"},
      {"IW_JS_IWBASE", "/js/IWBase.js"},
      {"IW_JS_IWLIB", "/js/IWLib.js"},
      {"IW_JS_IWEXPLORER", "/js/IWExplorer.js"},
      {"IW_JS_IWGECKO", "/js/IWGecko.js"},
      {"IW_JS_IWBACKINTERCEPT", "/js/IWBackIntercept.js"},
      {"IW_CSS_IWNOTIFY", "/css/IWNotify.css"},
      {"IW_GFX_Tp", "/gfx/Tp.gif"},
      {"IW_GFX_loading", "/gfx/loading.gif"},
      {"IW_GFX_ComboBoxDownArrow", "/gfx/ComboBoxDownArrow.gif"},
      {"IW_GFX_CoolCheckBox_False", "gfx/CoolCheckBox_False.gif"},
      {"IW_GFX_CoolCheckBox_True", "gfx/CoolCheckBox_True.gif"},
      {"IW_JS_IWSPLITTER", "/js/IWSplitter.js"},
      {"IW_JS_TABCONTROL", "/js/tabcontrol.js"},
  };
  for (const auto& [name, path] : kFiles) Add(name, path);
}

bool TIWServerInternalFiles::lookup(const std::string& upperName, InternalFileView& out) {
  const auto it = files_.find(upperName);
  if (it == files_.end()) return false;
  out.storage = it->second.mResource;
  out.bytes = *out.storage;
  out.compressed = it->second.mIsCompressed;
  out.cacheable = true;
  return true;
}

InternalFileView TIWServerInternalFiles::ResourceAsStream(std::string_view name) {
  const std::string upperName = detail::upper(name);
  InternalFileView view;
  ResourceNeeded handler;
  {
    ReadLock hold(lock_);
    if (useUncompressedFiles_ && detail::startsWithNoCase(upperName, "IW_JS_") &&
        lookup(upperName + "_DBG", view))
      return view;
    if (lookup(upperName, view)) return view;
    handler = onResourceNeeded_;
  }
  // The handler runs outside the lock: it may be slow, and it may register files.
  if (handler) {
    std::shared_ptr<const std::string> bytes;
    bool cacheable = true;
    if (handler(std::string(name), bytes, cacheable) && bytes) {
      view.storage = bytes;
      view.bytes = *bytes;
      view.cacheable = cacheable;
      view.compressed = false;
      return view;
    }
  }
  std::string text(msg::kResourceNotFoundFmt);
  text.replace(text.find("%s"), 2, std::string(name));
  throw EInvalidResource(text);
}

std::string TIWServerInternalFiles::ResourceAsString(std::string_view name) {
  const InternalFileView v = ResourceAsStream(name);
  if (v.compressed) return detail::zDecompress(v.bytes);
  return std::string(v.bytes);
}

bool TIWServerInternalFiles::ResourceExists(std::string_view name) {
  try {
    ResourceAsStream(name);
    return true;
  } catch (const EInvalidResource&) {
    return false;
  }
}

void TIWServerInternalFiles::PreCompress() {
  WriteLock hold(lock_);
  for (auto& [name, row] : files_) {
    if (row.mIsCompressed) continue;
    if (!detail::startsWithNoCase(name, "IW_JS_") && !detail::startsWithNoCase(name, "IW_CSS_"))
      continue;
    if (!detail::isGzip(*row.mResource))
      row.mResource = std::make_shared<const std::string>(
          detail::zCompress(*row.mResource, detail::ZWrapper::Gzip, 9));
    row.mIsCompressed = true;
  }
}

void TIWServerInternalFiles::SetUseUncompressedFiles(bool on) {
  WriteLock hold(lock_);
  useUncompressedFiles_ = on;
}

void TIWServerInternalFiles::SetPreCompressFiles(bool on) {
  WriteLock hold(lock_);
  preCompressFiles_ = on;
}

bool TIWServerInternalFiles::PreCompressFiles() {
  ReadLock hold(lock_);
  return preCompressFiles_;
}

void TIWServerInternalFiles::SetOnResourceNeeded(ResourceNeeded handler) {
  WriteLock hold(lock_);
  onResourceNeeded_ = std::move(handler);
}

bool TIWServerInternalFiles::Find(std::string_view name, TInternalFile& out) {
  ReadLock hold(lock_);
  const auto it = files_.find(detail::upper(name));
  if (it == files_.end()) return false;
  out = it->second;
  return true;
}

}  // namespace orv
