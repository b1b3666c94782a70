// Ornavel on Linux: the input method's process with a typing pad in place of the client
// applications. It builds the ports (the Linux platform on the Qt event loop), the application
// and its windows, runs the start-up sequence of the input method, and then the pad until the
// user closes it.
#include <QApplication>
#include <memory>

#include "core/application.h"
#include "core/input_method_server.h"
#include "panel/candidate_panel.h"
#include "platform/linux/host/typing_pad.h"
#include "platform/linux/qt/qt_platform.h"
#include "ui/user_interface.h"

int main(int argc, char** argv) {
  using namespace ornav;
  QApplication qt(argc, argv);
  QApplication::setApplicationName("Ornavel");
  // Closing the pad ends the program, whatever dialog is still open.
  QApplication::setQuitOnLastWindowClosed(false);

  linux_platform::QtPlatform platform;
  Application app(platform.ports());
  UserInterface ui(app);
  std::unique_ptr<InputMethodServer> server;
  std::unique_ptr<linux_platform::TypingPad> pad;

  const int status = runProcessEntry(app.processEntrySteps(
      [&](const std::string& connectionName, const std::string& bundleID) {
        server = std::make_unique<InputMethodServer>(connectionName, bundleID,
                                                     ui.controllerEnvironment());
        return true;
      },
      [&] {
        pad = std::make_unique<linux_platform::TypingPad>(*server, platform.inputMenu(),
                                                          app.keyMap());
        pad->setLook(ui.wordFont(CandidatePanel::kWordPointSize));
        // The pad is the program's window: dialogs and alerts open beside and over it.
        platform.windows().setOwner(pad.get());
        platform.alerts().setOwner(pad.get());
        pad->show();
        QApplication::exec();
      }));
  // The controllers go before the application: their engines end, and with them every save is
  // on disk.
  pad.reset();
  server.reset();
  return status;
}
