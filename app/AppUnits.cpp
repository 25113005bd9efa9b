#include "app/AppUnits.h"

#include <memory>

#include "app/ServerController.h"
#include "app/WDiagramU.h"
#include "framework/server/IWInit.h"

namespace orv {

void InitializeApplicationUnits() {
  InitializeServerControllerUnit();
  // The calculator page is the main page class: every session's first page is a
  // TORVServerForm built from the layout file beside the executable, on the port of the
  // server settings. The session runs its creation event (the layout is read there).
  SetMainFormClass([](TIWApplication&) { return std::make_unique<TORVServerForm>(); });
}

}  // namespace orv
