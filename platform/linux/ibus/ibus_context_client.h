// One IBus input context (a text field of some application) as the controller's text client.
//
// IBus moves one engine object between the focused contexts, so what the controller writes can
// only reach the context that has the focus now: the client is attached to the engine while its
// context has the focus and drops everything written while it is not. When the focus leaves, the
// daemon itself commits the preedit it was shown (it is shown in IBUS_ENGINE_PREEDIT_COMMIT mode),
// so the controller's own commit on deactivation must not reach the client a second time: the
// host detaches the client first. The same holds for a reset, where the daemon commits the preedit
// before it tells the engine: commits are discarded while the host handles it.
#pragma once

#include <optional>
#include <string>

#include "ports/geometry.h"
#include "ports/text_client.h"

typedef struct _IBusEngine IBusEngine;
typedef struct _IBusLookupTable IBusLookupTable;

namespace ornav::linux_platform {

class IBusLookupPanel;

class IBusContextClient : public TextClient {
 public:
  // The identifier of a client that IBus does not name.
  static constexpr const char* kUnknownClient = "unknown";

  // `path` is the context's object path; `clientName` what IBus calls the client (empty: none).
  IBusContextClient(std::string path, std::string clientName);

  const std::string& path() const { return path_; }

  // The engine the context is focused on, or null while it has no focus.
  void attach(IBusEngine* engine) { engine_ = engine; }
  void detach() { engine_ = nullptr; }
  IBusEngine* engine() const { return engine_; }

  // The caret rectangle IBus reported, in the ports' screen coordinates.
  void setCaret(const Rect& caret) { caret_ = caret; }
  // While set, committed text is dropped: the client already holds it.
  void setDiscardingCommits(bool discarding) { discardingCommits_ = discarding; }

  // The candidate list of this context's controller, when it shows IBus's lookup table.
  void setLookupPanel(IBusLookupPanel* panel) { lookupPanel_ = panel; }
  IBusLookupPanel* lookupPanel() const { return lookupPanel_; }
  void showLookupTable(IBusLookupTable* table);
  void hideLookupTable();

  // TextClient
  std::optional<std::string> bundleIdentifier() const override;
  void setMarkedText(const MarkedText& text, TextRange selection, TextRange replacement) override;
  void insertText(const std::string& text, TextRange replacement) override;
  std::optional<Rect> lineRectAt(std::int64_t index) override;

 private:
  std::string path_;
  std::string clientName_;
  IBusEngine* engine_ = nullptr;
  std::optional<Rect> caret_;
  bool discardingCommits_ = false;
  IBusLookupPanel* lookupPanel_ = nullptr;
};

}  // namespace ornav::linux_platform
