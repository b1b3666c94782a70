// ornavel-ibus: Ornavel as an IBus engine, the input method of every application on a Linux
// desktop. The same process as the typing pad's (the ports on the Qt event loop, one Application,
// one UserInterface, the start-up sequence), with the IBus daemon in place of the pad: each input
// context gets its own controller. Qt's event loop on Linux is GLib's, which also delivers the
// bus's messages, so the engine, the panel and the dialogs share one loop.
//
//   ornavel-ibus --ibus    started by ibus-daemon through the component file
//   ornavel-ibus           started by hand: registers its component with the running daemon
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/application.h"
#include "core/input_method_server.h"
#include "platform/linux/ibus/candidate_window_choice.h"
#include "platform/linux/ibus/ibus_engine_host.h"
#include "platform/linux/qt/qt_platform.h"
#include "ui/user_interface.h"

namespace {

bool hasArgument(int argc, char** argv, const char* argument) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], argument) == 0) return true;
  }
  return false;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ornav;
  using namespace ornav::linux_platform;
  const bool startedByDaemon = hasArgument(argc, argv, "--ibus");
  // The bus's messages arrive through GLib's main loop, which Qt's loop runs unless told not to.
  ::unsetenv("QT_NO_GLIB");
  // Started with no display at all (a headless session): the windows are drawn off screen rather
  // than the engine failing to start.
  if (environment("DISPLAY").empty() && environment("WAYLAND_DISPLAY").empty() &&
      environment("QT_QPA_PLATFORM").empty()) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication qt(argc, argv);
  QApplication::setApplicationName("Ornavel");
  QApplication::setQuitOnLastWindowClosed(false);
  if (!QAbstractEventDispatcher::instance()->inherits("QEventDispatcherGlib")) {
    std::fprintf(stderr, "ornavel-ibus: Qt's event loop does not run GLib's; the bus is unheard\n");
    return 1;
  }

  QtPlatform platform;
  Application app(platform.ports());
  const CandidateWindow candidates = chooseCandidateWindow(
      platform.ports().settings->getString(kCandidateWindowKey), environment("XDG_SESSION_TYPE"));
  std::unique_ptr<IBusEngineHost> host;
  std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel;
  if (candidates == CandidateWindow::lookupTable)
    makePanel = [&host] { return host->makeLookupPanel(); };
  UserInterface ui(app, makePanel);
  std::unique_ptr<InputMethodServer> server;
  bool connected = false;

  const int status = runProcessEntry(app.processEntrySteps(
      [&](const std::string& connectionName, const std::string& bundleID) {
        server = std::make_unique<InputMethodServer>(connectionName, bundleID,
                                                     ui.controllerEnvironment());
        host = std::make_unique<IBusEngineHost>(*server, candidates);
        // The daemon going away ends the process: the daemon that comes back starts a new one.
        connected = host->start(startedByDaemon, [] { QCoreApplication::quit(); });
        return connected;
      },
      [&] {
        if (connected) QApplication::exec();
      }));
  // The controllers go before the application: their engines end, and with them every save is
  // on disk.
  host.reset();
  server.reset();
  if (!connected) {
    std::fprintf(stderr, "ornavel-ibus: no IBus daemon to serve\n");
    return 1;
  }
  return status;
}
