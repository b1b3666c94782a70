#include "core/input_method_server.h"

#include <utility>

namespace ornav {

InputMethodServer::InputMethodServer(std::string connectionName, std::string bundleIdentifier,
                                     std::shared_ptr<ControllerEnvironment> env)
    : connectionName_(std::move(connectionName)),
      bundleIdentifier_(std::move(bundleIdentifier)),
      env_(std::move(env)) {}

InputMethodServer::~InputMethodServer() {
  for (auto& [client, controller] : controllers_)
    controller->setClient(nullptr);
}

std::shared_ptr<OrnavInputController> InputMethodServer::connect(TextClient& client) {
  auto it = controllers_.find(&client);
  if (it != controllers_.end()) return it->second;
  auto controller = OrnavInputController::create(env_, &client);
  controllers_.emplace(&client, controller);
  return controller;
}

void InputMethodServer::disconnect(TextClient& client) {
  auto it = controllers_.find(&client);
  if (it == controllers_.end()) return;
  it->second->setClient(nullptr);
  controllers_.erase(it);
}

std::shared_ptr<OrnavInputController> InputMethodServer::controllerFor(
    const TextClient& client) const {
  auto it = controllers_.find(&client);
  return it == controllers_.end() ? nullptr : it->second;
}

}  // namespace ornav
