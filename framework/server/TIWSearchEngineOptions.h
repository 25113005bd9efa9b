#pragma once
// Settings for search-engine crawlers (stored; this program does not redirect them).
#include <string>

#include "framework/server/OptionGroup.h"

namespace orv {

class TIWSearchEngineOptions : public OptionGroup {
 public:
  bool RedirectToContentHandler() const { return redirectToContentHandler_; }
  void SetRedirectToContentHandler(bool v) { redirectToContentHandler_ = v; }
  const std::string& ContentHandlerPath() const { return contentHandlerPath_; }
  void SetContentHandlerPath(const std::string& v) { contentHandlerPath_ = v; }

  void Assign(const TIWSearchEngineOptions& source) {
    redirectToContentHandler_ = source.redirectToContentHandler_;
    contentHandlerPath_ = source.contentHandlerPath_;
  }

 private:
  bool redirectToContentHandler_ = false;
  std::string contentHandlerPath_;
};

}  // namespace orv
