#pragma once
// The component contexts of one container for one render, in render order (the body
// order of the page), looked up by upper-cased HTML name or by position. A component
// whose name is already listed is not added again.
//
// Owned by the page for one render; owns its component contexts. Layout is a
// non-owning link to the page's layout component, which outlives the render.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/render/TIWCompContext.h"

namespace orv {

class TIWContainerLayout;

enum class TIWFormEncoding { feURL, feMultiPart };

class TIWContainerContext {
 public:
  TIWContainerContext() = default;
  TIWContainerContext(const TIWContainerContext&) = delete;
  TIWContainerContext& operator=(const TIWContainerContext&) = delete;

  // Adds a component's context under its HTML name; a context whose name is listed
  // already is dropped and the listed one returned. An upload control's context turns
  // the form encoding to multipart.
  TIWCompContext& AddComponent(std::unique_ptr<TIWCompContext> context);

  std::size_t Count() const { return contexts_.size(); }
  TIWCompContext& operator[](std::size_t i) const { return *contexts_[i]; }
  auto begin() const { return contexts_.begin(); }
  auto end() const { return contexts_.end(); }
  // The context of that HTML name (case ignored), or none.
  TIWCompContext* Find(std::string_view htmlName) const;
  // The tag rendered for that HTML name / position, or none.
  TIWMarkupLanguageTag* TagByName(std::string_view htmlName) const;

  TIWContainerLayout* Layout = nullptr;  // the page's layout component (not owned)
  TIWFormEncoding FormEncoding = TIWFormEncoding::feURL;
  bool UpdateTree = false;
  // Pages write the tags rendered for their components as they are.
  bool CacheControls = true;
  // Controls whose Visible is false are rendered (hidden) as well.
  bool RenderInvisibleControls = false;

 private:
  std::vector<std::unique_ptr<TIWCompContext>> contexts_;
  std::map<std::string, TIWCompContext*> byName_;  // key: upper-cased HTML name
};

}  // namespace orv
