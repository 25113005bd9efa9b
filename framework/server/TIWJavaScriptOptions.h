#pragma once
// Settings of the browser-side scripts the pages load.
#include "framework/server/OptionGroup.h"

namespace orv {

enum class AjaxErrorMode { emNone, emAlert, emConsole };

class TIWJavaScriptOptions : public OptionGroup {
 public:
  bool Debug() const { return debug_; }
  void SetDebug(bool v) { debug_ = v; }
  // Serve the readable script variants instead of the packed ones (copied into the
  // embedded file table at start-up).
  bool UseUncompressedFiles() const { return useUncompressedFiles_; }
  void SetUseUncompressedFiles(bool v) { useUncompressedFiles_ = v; }
  bool EnableFirebug() const { return enableFirebug_; }
  void SetEnableFirebug(bool v) { enableFirebug_ = v; }
  orv::AjaxErrorMode AjaxErrorMode() const { return ajaxErrorMode_; }
  void SetAjaxErrorMode(orv::AjaxErrorMode v) { ajaxErrorMode_ = v; }
  bool RenderjQuery() const { return renderjQuery_; }
  void SetRenderjQuery(bool v) { renderjQuery_ = v; }

  void Assign(const TIWJavaScriptOptions& source) {
    debug_ = source.debug_;
    useUncompressedFiles_ = source.useUncompressedFiles_;
    enableFirebug_ = source.enableFirebug_;
    ajaxErrorMode_ = source.ajaxErrorMode_;
    renderjQuery_ = source.renderjQuery_;
  }

 private:
  bool debug_ = false;
  bool useUncompressedFiles_ = false;
  bool enableFirebug_ = false;
  orv::AjaxErrorMode ajaxErrorMode_ = orv::AjaxErrorMode::emAlert;
  bool renderjQuery_ = true;
};

}  // namespace orv
