#include "app/LayoutFields.h"

#include <stdexcept>

#include "app/LayoutText.h"
#include "app/Messages.h"
#include "app/WDiagramU.h"

namespace orv {

std::string LayoutFields::text() {
  ++fieldNo_;
  return TORVServerForm::NextToken(rest_);
}

bool LayoutFields::flag() { return isFlagOn(text()); }

std::int32_t LayoutFields::wholeNumber(std::string_view fieldName) {
  const std::string field = text();
  try {
    return myStrtoInt(field);
  } catch (const ConvertError&) {
    throw std::runtime_error(
        msg::layoutNotWholeNumber(lineNo_, keyword_, fieldNo_, fieldName, field));
  }
}

long double LayoutFields::real() {
  bool ok = false;
  return Str2Num(text(), ok);  // a bound that is not a number stays as Str2Num returns it
}

DecForm LayoutFields::format() {
  const std::string field = text();
  try {
    return doFormat(field);
  } catch (const ConvertError&) {
    throw std::runtime_error(msg::layoutBadFormat(lineNo_, keyword_, fieldNo_, field));
  }
}

}  // namespace orv
