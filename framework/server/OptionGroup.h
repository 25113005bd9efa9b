#pragma once
// The common base of the controller's option groups (SSLOptions, Compression, ...).
//
// A group that belongs to the server controller keeps a link to it (not owned: the
// controller owns the group) and asks it before each change: the groups that freeze
// after start-up refuse changes with the controller's "is locked" error, and the
// cookie options check the controller's AllowMultipleSessionsPerUser. A copy of a group
// is free-standing: it has no controller and checks nothing, so a group can be built
// on its own and handed to the controller with Assign. Groups are copied only with
// Assign (plain assignment is deleted so that no change bypasses the checks).
//
// Threads: like every setting, groups are written on the main thread before the server
// starts and only read afterwards.
#include <string>

namespace orv {

class TIWServerControllerBase;

namespace detail {
// A TCP port setting: 0 to 65535 (0 lets the system choose). Anything else raises
// "Invalid port value: " + the value, so that a typing error never binds a wrong port.
void checkPortValue(int port);
}  // namespace detail

class OptionGroup {
 public:
  OptionGroup() = default;
  // A copy never inherits the controller link.
  OptionGroup(const OptionGroup&) {}
  OptionGroup& operator=(const OptionGroup&) = delete;

  // The controller this group belongs to, or nullptr for a free-standing group.
  const TIWServerControllerBase* Controller() const { return controller_; }

 protected:
  ~OptionGroup() = default;
  // Raises the controller's "is locked" error when this group freezes with the
  // controller's settings and they are frozen; does nothing for a free-standing group.
  void checkLock() const;

 private:
  friend class TIWServerControllerBase;

  // lockName: the property name that freezes the group, or nullptr when it never does.
  void attach(const TIWServerControllerBase* controller, const char* lockName) {
    controller_ = controller;
    lockName_ = lockName;
  }

  const TIWServerControllerBase* controller_ = nullptr;  // owns this group when set
  const char* lockName_ = nullptr;
};

}  // namespace orv
