#pragma once
// SilentAbort: an error with which an event handler gives up without a message. The
// page's request execution swallows it around a submit handler, so the page simply
// renders as it stands.
#include <stdexcept>

namespace orv {

class SilentAbort : public std::runtime_error {
 public:
  SilentAbort() : std::runtime_error("Operation aborted") {}
};

}  // namespace orv
