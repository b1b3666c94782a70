#include "platform/linux/qt/window_translucency.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <string>

namespace ornav::linux_platform {

namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

// The screen part of the display name ("host:display.screen"), as the connection was made.
int defaultScreen() {
  char* host = nullptr;
  int display = 0;
  int screen = 0;
  if (xcb_parse_display(nullptr, &host, &display, &screen) == 0) return 0;
  std::free(host);
  return screen;
}

}  // namespace

bool windowTranslucencyAvailable() {
  const auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 == nullptr || x11->connection() == nullptr) return true;
  xcb_connection_t* connection = x11->connection();
  const std::string name = "_NET_WM_CM_S" + std::to_string(defaultScreen());
  // An atom nobody has made yet means no compositing manager has ever run on this display.
  const ReplyPointer<xcb_intern_atom_reply_t> atom(
      xcb_intern_atom_reply(connection,
                            xcb_intern_atom(connection, /*only_if_exists=*/1,
                                            static_cast<std::uint16_t>(name.size()), name.c_str()),
                            nullptr));
  if (!atom || atom->atom == XCB_ATOM_NONE) return false;
  const ReplyPointer<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
  return owner && owner->owner != XCB_WINDOW_NONE;
}

}  // namespace ornav::linux_platform
