#include "framework/server/OptionGroup.h"

#include <stdexcept>
#include <string>

#include "framework/server/Messages.h"
#include "framework/server/TIWServerControllerBase.h"

namespace orv {

namespace detail {

void checkPortValue(int port) {
  if (port < 0 || port > 65535) {
    throw std::runtime_error(std::string(msg::kInvalidPort) + std::to_string(port));
  }
}

}  // namespace detail

void OptionGroup::checkLock() const {
  if (controller_ != nullptr && lockName_ != nullptr) controller_->CheckLock(lockName_);
}

}  // namespace orv
