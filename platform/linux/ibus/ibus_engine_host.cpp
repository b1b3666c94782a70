#include "platform/linux/ibus/ibus_engine_host.h"

#include <ibus.h>

#include <QGuiApplication>
#include <QScreen>

#include "ornavel_ibus_component.h"
#include "platform/linux/ibus/ibus_key_event.h"
#include "platform/linux/ibus/ibus_lookup_panel.h"
#include "platform/linux/ibus/ibus_menu_properties.h"
#include "platform/linux/qt/flipped_space.h"

namespace ornav::linux_platform {

struct IBusEngineHost::EngineState {
  std::shared_ptr<IBusContextClient> focused;
  std::optional<MenuDescription> registeredMenu;
};

// The GObject signal handlers: each forwards to the host.
struct IBusEngineHost::Signals {
  static IBusEngine* createEngine(IBusFactory*, const gchar* name, gpointer host) {
    return static_cast<IBusEngineHost*>(host)->createEngine(name);
  }
  static gboolean processKeyEvent(IBusEngine* engine, guint keyval, guint, guint state,
                                  gpointer host) {
    return static_cast<IBusEngineHost*>(host)->processKey(engine, keyval, state) ? TRUE : FALSE;
  }
  static void focusInId(IBusEngine* engine, const gchar* path, const gchar* client, gpointer host) {
    static_cast<IBusEngineHost*>(host)->focusIn(engine, path ? path : "", client ? client : "");
  }
  // A daemon that names no context: all its contexts share one client.
  static void focusIn(IBusEngine* engine, gpointer host) {
    static_cast<IBusEngineHost*>(host)->focusIn(engine, "", "");
  }
  static void focusOut(IBusEngine* engine, gpointer host) {
    static_cast<IBusEngineHost*>(host)->focusOut(engine);
  }
  static void focusOutId(IBusEngine* engine, const gchar*, gpointer host) {
    static_cast<IBusEngineHost*>(host)->focusOut(engine);
  }
  static void reset(IBusEngine* engine, gpointer host) {
    static_cast<IBusEngineHost*>(host)->reset(engine);
  }
  static void setCursorLocation(IBusEngine* engine, gint x, gint y, gint w, gint h, gpointer host) {
    static_cast<IBusEngineHost*>(host)->setCaret(engine, x, y, w, h);
  }
  // The lookup table's buttons move like the keys: a page is a row of the grid.
  static void pageUp(IBusEngine* engine, gpointer host) {
    static_cast<IBusEngineHost*>(host)->processKey(engine, IBUS_KEY_Up, 0);
  }
  static void pageDown(IBusEngine* engine, gpointer host) {
    static_cast<IBusEngineHost*>(host)->processKey(engine, IBUS_KEY_Down, 0);
  }
  // Candidate rows read right to left: the next candidate is to the left.
  static void cursorUp(IBusEngine* engine, gpointer host) {
    static_cast<IBusEngineHost*>(host)->processKey(engine, IBUS_KEY_Right, 0);
  }
  static void cursorDown(IBusEngine* engine, gpointer host) {
    static_cast<IBusEngineHost*>(host)->processKey(engine, IBUS_KEY_Left, 0);
  }
  static void candidateClicked(IBusEngine* engine, guint index, guint, guint, gpointer host) {
    static_cast<IBusEngineHost*>(host)->candidateClicked(engine, static_cast<int>(index));
  }
  static void propertyActivate(IBusEngine* engine, const gchar* name, guint, gpointer host) {
    static_cast<IBusEngineHost*>(host)->activateProperty(engine, name ? name : "");
  }
  static void destroy(IBusEngine* engine, gpointer host) {
    static_cast<IBusEngineHost*>(host)->destroyed(engine);
  }
  static void disconnected(IBusBus*, gpointer host) {
    auto* self = static_cast<IBusEngineHost*>(host);
    if (self->disconnected_) self->disconnected_();
  }
};

IBusEngineHost::IBusEngineHost(InputMethodServer& server, CandidateWindow candidates)
    : server_(server), candidates_(candidates) {}

IBusEngineHost::~IBusEngineHost() {
  // What is being composed is committed as typed by the daemon; the controllers end here.
  while (!engines_.empty())
    destroyed(engines_.begin()->first);
  for (auto& [path, client] : contexts_)
    server_.disconnect(*client);
  if (factory_ != nullptr) g_object_unref(factory_);
  if (bus_ != nullptr) {
    g_signal_handlers_disconnect_by_data(bus_, this);
    g_object_unref(bus_);
  }
}

bool IBusEngineHost::start(bool startedByDaemon, std::function<void()> disconnected) {
  disconnected_ = std::move(disconnected);
  ibus_init();
  bus_ = ibus_bus_new();
  if (!ibus_bus_is_connected(bus_)) return false;
  g_signal_connect(bus_, "disconnected", G_CALLBACK(Signals::disconnected), this);
  factory_ = ibus_factory_new(ibus_bus_get_connection(bus_));
  g_object_ref_sink(factory_);
  g_signal_connect(factory_, "create-engine", G_CALLBACK(Signals::createEngine), this);
  if (startedByDaemon) {
    return ibus_bus_request_name(bus_, ORNAV_IBUS_COMPONENT_NAME, 0) != 0;
  }
  IBusComponent* component = ibus_component_new_varargs(
      "name", ORNAV_IBUS_COMPONENT_NAME, "description", ORNAV_IBUS_LONGNAME, "version",
      ORNAV_IBUS_VERSION, "license", ORNAV_IBUS_LICENSE, "author", ORNAV_IBUS_AUTHOR, "homepage",
      "", "command-line", ORNAV_IBUS_EXEC, "textdomain", "", nullptr);
  ibus_component_add_engine(
      component, ibus_engine_desc_new_varargs(
                     "name", ORNAV_IBUS_ENGINE_NAME, "longname", ORNAV_IBUS_LONGNAME, "description",
                     ORNAV_IBUS_LONGNAME, "language", ORNAV_IBUS_LANGUAGE, "license",
                     ORNAV_IBUS_LICENSE, "author", ORNAV_IBUS_AUTHOR, "icon", ORNAV_IBUS_ICON,
                     "layout", ORNAV_IBUS_LAYOUT, "symbol", ORNAV_IBUS_SYMBOL, "rank", 0, nullptr));
  const bool registered = ibus_bus_register_component(bus_, component);
  g_object_unref(component);
  return registered;
}

IBusEngine* IBusEngineHost::createEngine(const char* name) {
  if (name == nullptr || std::string(name) != ORNAV_IBUS_ENGINE_NAME) return nullptr;
  const std::string path = "/org/freedesktop/IBus/Engine/Ornavel/" + std::to_string(++engineCount_);
  auto* engine = IBUS_ENGINE(g_object_new(IBUS_TYPE_ENGINE, "engine-name", name, "object-path",
                                          path.c_str(), "connection", ibus_bus_get_connection(bus_),
                                          "has-focus-id", TRUE, nullptr));
  engines_[engine] = std::make_unique<EngineState>();
  g_signal_connect(engine, "process-key-event", G_CALLBACK(Signals::processKeyEvent), this);
  g_signal_connect(engine, "focus-in", G_CALLBACK(Signals::focusIn), this);
  g_signal_connect(engine, "focus-in-id", G_CALLBACK(Signals::focusInId), this);
  g_signal_connect(engine, "focus-out", G_CALLBACK(Signals::focusOut), this);
  g_signal_connect(engine, "focus-out-id", G_CALLBACK(Signals::focusOutId), this);
  g_signal_connect(engine, "disable", G_CALLBACK(Signals::focusOut), this);
  g_signal_connect(engine, "reset", G_CALLBACK(Signals::reset), this);
  g_signal_connect(engine, "set-cursor-location", G_CALLBACK(Signals::setCursorLocation), this);
  g_signal_connect(engine, "page-up", G_CALLBACK(Signals::pageUp), this);
  g_signal_connect(engine, "page-down", G_CALLBACK(Signals::pageDown), this);
  g_signal_connect(engine, "cursor-up", G_CALLBACK(Signals::cursorUp), this);
  g_signal_connect(engine, "cursor-down", G_CALLBACK(Signals::cursorDown), this);
  g_signal_connect(engine, "candidate-clicked", G_CALLBACK(Signals::candidateClicked), this);
  g_signal_connect(engine, "property-activate", G_CALLBACK(Signals::propertyActivate), this);
  g_signal_connect(engine, "destroy", G_CALLBACK(Signals::destroy), this);
  return engine;
}

std::pair<std::shared_ptr<IBusContextClient>, std::shared_ptr<OrnavInputController>>
IBusEngineHost::focused(IBusEngine* engine) {
  auto state = engines_.find(engine);
  if (state == engines_.end() || !state->second->focused) return {nullptr, nullptr};
  std::shared_ptr<IBusContextClient> client = state->second->focused;
  auto controller = server_.connect(*client);
  return {std::move(client), std::move(controller)};
}

void IBusEngineHost::focusIn(IBusEngine* engine, const std::string& path,
                             const std::string& clientName) {
  auto state = engines_.find(engine);
  if (state == engines_.end()) return;
  if (state->second->focused) {
    if (state->second->focused->path() == path) return;
    focusOut(engine);
  }
  auto& client = contexts_[path];
  if (!client) client = std::make_shared<IBusContextClient>(path, clientName);
  idle_.remove(path);
  client->attach(engine);
  state->second->focused = client;
  serving_ = client;
  server_.connect(*client)->activateServer(client.get());
  serving_.reset();
  syncMenu(engine, true);
}

void IBusEngineHost::focusOut(IBusEngine* engine) {
  auto state = engines_.find(engine);
  if (state == engines_.end() || !state->second->focused) return;
  std::shared_ptr<IBusContextClient> client = std::move(state->second->focused);
  state->second->focused.reset();
  state->second->registeredMenu.reset();
  // The daemon has committed the preedit and hidden the candidates of the context being left; the
  // controller's own commit and hiding must not reach whichever context the engine serves next.
  client->detach();
  if (auto controller = server_.controllerFor(*client)) {
    serving_ = client;
    controller->deactivateServer(client.get());
    serving_.reset();
  }
  idle_.push_back(client->path());
  releaseIdleContexts();
}

void IBusEngineHost::releaseIdleContexts() {
  while (idle_.size() > kIdleContexts) {
    const auto found = contexts_.find(idle_.front());
    idle_.pop_front();
    if (found == contexts_.end()) continue;
    server_.disconnect(*found->second);
    contexts_.erase(found);
  }
}

bool IBusEngineHost::processKey(IBusEngine* engine, std::uint32_t keyval, std::uint32_t state) {
  auto [client, controller] = focused(engine);
  if (client == nullptr) return false;
  const KeyEvent event = keyEventFromIBus(keyval, state);
  serving_ = client;
  const bool handled = controller->handle(&event, client.get());
  serving_.reset();
  syncMenu(engine, false);
  return handled;
}

void IBusEngineHost::reset(IBusEngine* engine) {
  auto [client, controller] = focused(engine);
  if (client == nullptr) return;
  // The daemon committed the preedit before it asked for the reset: the composition lands once,
  // as typed, and the controller takes it as committed.
  client->setDiscardingCommits(true);
  serving_ = client;
  controller->commitComposing(client.get());
  serving_.reset();
  client->setDiscardingCommits(false);
}

void IBusEngineHost::setCaret(IBusEngine* engine, int x, int y, int width, int height) {
  auto [client, controller] = focused(engine);
  if (client == nullptr) return;
  // An empty rectangle at the origin is what a client that never told its caret leaves.
  if (x == 0 && y == 0 && width == 0 && height == 0) return;
  // IBus reports device pixels from the top left of the screen; the ports measure points from the
  // bottom left.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
  client->setCaret(
      FlippedSpace::desktop().fromQt(QRectF(x / ratio, y / ratio, width / ratio, height / ratio)));
}

void IBusEngineHost::candidateClicked(IBusEngine* engine, int indexInPage) {
  auto [client, controller] = focused(engine);
  if (client == nullptr || client->lookupPanel() == nullptr) return;
  serving_ = client;
  client->lookupPanel()->clicked(indexInPage);
  serving_.reset();
}

void IBusEngineHost::activateProperty(IBusEngine* engine, const std::string& key) {
  auto [client, controller] = focused(engine);
  if (client == nullptr) return;
  if (const auto action = menuAction(controller->menu(), key)) controller->perform(*action);
  // A toggle the user flipped in the desktop's menu shows the state the controller kept.
  syncMenu(engine, true);
}

void IBusEngineHost::destroyed(IBusEngine* engine) {
  focusOut(engine);
  if (engines_.erase(engine) > 0) g_signal_handlers_disconnect_by_data(engine, this);
}

void IBusEngineHost::syncMenu(IBusEngine* engine, bool always) {
  auto [client, controller] = focused(engine);
  if (client == nullptr) return;
  EngineState& state = *engines_[engine];
  MenuDescription menu = controller->menu();
  if (!always && state.registeredMenu == menu) return;
  ibus_engine_register_properties(engine, menuProperties(menu));
  state.registeredMenu = std::move(menu);
}

std::unique_ptr<CandidatePanelInterface> IBusEngineHost::makeLookupPanel() {
  // Outside a call into a controller there is no context to show in: such a panel shows nothing.
  auto client = serving_ ? serving_ : std::make_shared<IBusContextClient>("", "");
  return std::make_unique<IBusLookupPanel>(std::move(client));
}

}  // namespace ornav::linux_platform
