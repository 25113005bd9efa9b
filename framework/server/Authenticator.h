#pragma once
// The interface of an HTTP authenticator that the server controller may hold (its
// Auther setting). This program sets none; the request dispatch asks the controller's
// AuthActive before it asks an authenticator anything.
namespace orv {

enum class AuthPolicy {
  apRestrictNone,  // nothing is protected: the authenticator is inactive
  apRestrictAll,   // every request must carry valid credentials
};

class Authenticator {
 public:
  virtual ~Authenticator() = default;
  virtual AuthPolicy Policy() const = 0;
};

}  // namespace orv
