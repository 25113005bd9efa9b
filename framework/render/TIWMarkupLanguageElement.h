#pragma once
// The base of everything a page or an XML reply is built from: tags, text and
// already rendered bytes. A tree of elements is rendered to a text in one pass.
//
// Ownership: an element is owned by the contents collection of the tag it was added
// to (or by whoever holds its unique_ptr at the top). ParentElement is a non-owning
// link to the tag whose contents own this element, set only when the element was added
// with setParent; rendering such an element renders the whole tree from the top of its
// parent chain, so that a control can hand out an inner element of a wrapper it built.
// Elements are used by the one thread that renders the page or reply.
#include <string>

namespace orv {

class TIWMarkupLanguageElement {
 public:
  TIWMarkupLanguageElement() = default;
  TIWMarkupLanguageElement(const TIWMarkupLanguageElement&) = delete;
  TIWMarkupLanguageElement& operator=(const TIWMarkupLanguageElement&) = delete;
  virtual ~TIWMarkupLanguageElement() = default;

  // The tag that owns this element when it was added with setParent; else none.
  TIWMarkupLanguageElement* ParentElement() const { return parentElement_; }
  void setParentElement(TIWMarkupLanguageElement* parent) { parentElement_ = parent; }
  // True while the element is being written.
  bool Rendering() const { return rendering_; }

  // Appends the element to `out`; an element with a ParentElement renders the tree
  // from the top of its parent chain instead.
  void Render(std::string& out);
  // CR LF followed by the rendered text.
  std::string Render();

  // Appends this element alone (no walk up the parent chain).
  virtual void RenderElement(std::string& out) = 0;
  // Tags are preceded by CR LF inside non-preformatted tags; text and bytes are not.
  virtual bool IsTag() const { return false; }

 private:
  TIWMarkupLanguageElement* parentElement_ = nullptr;  // owns this element, or none
  bool rendering_ = false;
};

// Text written unchanged (it must already be escaped for where it goes).
class TIWTextElement : public TIWMarkupLanguageElement {
 public:
  explicit TIWTextElement(std::string text) : text_(std::move(text)) {}
  const std::string& Text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  void RenderElement(std::string& out) override { out += text_; }

 private:
  std::string text_;
};

// Bytes of output rendered earlier (a control's buffered markup), copied unchanged.
class TIWBinaryElement : public TIWMarkupLanguageElement {
 public:
  explicit TIWBinaryElement(std::string bytes) : buffer_(std::move(bytes)) {}
  const std::string& Buffer() const { return buffer_; }
  void RenderElement(std::string& out) override { out += buffer_; }

 private:
  std::string buffer_;
};

}  // namespace orv
