// The input-method server where the system has none to offer (Linux): it is created under the
// connection name and bundle identifier like the system's, and gives every client text field its
// own OrnavInputController, created when the client connects and released when it goes away.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "core/controller_environment.h"
#include "core/ornav_input_controller.h"
#include "ports/text_client.h"

namespace ornav {

class InputMethodServer {
 public:
  InputMethodServer(std::string connectionName, std::string bundleIdentifier,
                    std::shared_ptr<ControllerEnvironment> env);
  ~InputMethodServer();
  InputMethodServer(const InputMethodServer&) = delete;
  InputMethodServer& operator=(const InputMethodServer&) = delete;

  const std::string& connectionName() const { return connectionName_; }
  const std::string& bundleIdentifier() const { return bundleIdentifier_; }

  // The controller of `client`, created on its first connection.
  std::shared_ptr<OrnavInputController> connect(TextClient& client);
  // Releases the client's controller; the client is forgotten before the controller goes, so
  // late callbacks (a panel click, the consent alert) find no client to write to.
  void disconnect(TextClient& client);
  // The client's controller, or null when it is not connected.
  std::shared_ptr<OrnavInputController> controllerFor(const TextClient& client) const;
  std::size_t clientCount() const { return controllers_.size(); }

 private:
  std::string connectionName_;
  std::string bundleIdentifier_;
  std::shared_ptr<ControllerEnvironment> env_;
  std::map<const TextClient*, std::shared_ptr<OrnavInputController>> controllers_;
};

}  // namespace ornav
