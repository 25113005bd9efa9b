#include <memory>
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/TIWRectangle.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

// The table that fills the rectangle: background, border and the text in one cell.
// The text is written as it stands: a rectangle's text may carry markup.
void addTable(const TIWRectangle& rect, TIWHTMLTagCollection& into) {
  TIWHTMLTag& table = into.AddTag("table");
  table.AddStringParam("style",
                       "width:100%; height:100%; border-collapse:collapse; border-spacing:0; "
                       "padding:0; background-color:" +
                           ColorToRGBString(rect.Color()) + ";" +
                           rect.BorderOptions().RenderStyle());
  TIWHTMLTag& row = table.Contents().AddTag("TR");
  if (rect.Text().empty()) {
    row.Contents().AddTag("td");
    return;
  }
  row.AddStringParam("style", rect.WebFont().FontToStringStyle() +
                                  detail::textAlignStyle(rect.Alignment()) +
                                  detail::verticalAlignStyle(rect.VAlign()));
  row.Contents().AddTag("td").Contents().AddText(rect.Text());
}

}  // namespace

std::unique_ptr<TIWHTMLTag> TIWRectangle::RenderHTML(TIWCompContext& /*context*/) {
  auto div = std::make_unique<TIWHTMLTag>("div");
  addTable(*this, div->Contents());
  return div;
}

std::unique_ptr<TIWXMLTag> TIWRectangle::RenderAsync(TIWCompContext& context) {
  auto control = NewAsyncControl("IWRECTANGLE");
  TIWHTMLTag group("");
  addTable(*this, group.Contents());
  std::string table;
  group.Contents()[0].Render(table);
  control->Contents().AddTag("innerHTML").Contents().AddText(std::move(table));
  RenderAsyncProperties(context, *control, AsyncProperty::kAll);
  return control;
}

}  // namespace orv
