#include "app/AppUnits.h"

#include "app/ServerController.h"

namespace orv {

void InitializeApplicationUnits() {
  InitializeServerControllerUnit();
  // The calculator page registers itself as the main page class here
  // (SetMainFormClass).
}

}  // namespace orv
