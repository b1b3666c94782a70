// What a key press costs through IBus, pad_bench's twin: a client sends the key press to
// ibus-daemon, which hands it to ornavel-ibus, and the time runs until the client has the preedit
// (a letter) or the commit (a pick with Space). The paragraph's words are typed key by key;
// figures: median, p99 and worst, letters and picks apart, and the engine's resident memory.
//
//   ibus_session.sh COMPONENT_DIR run ibus_bench BUNDLE.app PARAGRAPH.txt
#include <cstdio>
#include <vector>

#include "base/files.h"
#include "ibus_test_client.h"
#include "key_map_file.h"
#include "key_press_figures.h"
#include "word_text.h"

using namespace ornav;
using namespace ornav::ibus_testing;

int main(int argc, char** argv) {
  const auto paragraph = argc == 3 ? readWholeFile(argv[2]) : std::nullopt;
  const auto keymap =
      argc == 3 ? readWholeFile(std::filesystem::path(argv[1]) / "Contents/Resources/keymap.json")
                : std::nullopt;
  const auto tables = keymap ? dict::parseKeyMapJson(*keymap, nullptr) : std::nullopt;
  TestClient client;
  Received seen;
  if (!paragraph || !tables || !client.connect())
    return std::puts("usage, in an IBus session: ibus_bench BUNDLE.app PARAGRAPH.txt"), 2;
  IBusInputContext* context = client.context("ibus-bench", seen);
  ibus_input_context_focus_in(context);
  if (!client.useOrnavel()) return 1;

  // One press until its answer arrived, in microseconds; then its release.
  const auto press = [&](guint keyval, bool pick) {
    const Received before = seen;
    const auto start = std::chrono::steady_clock::now();
    ibus_input_context_process_key_event_async(context, keyval, 0, 0, -1, nullptr, nullptr,
                                               nullptr);
    TestClient::spinUntil(
        [&] { return pick ? seen.commits > before.commits : seen.preedits > before.preedits; });
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    ibus_input_context_process_key_event(context, keyval, 0, IBUS_RELEASE_MASK);
    return took.count();
  };
  const dict::Typist typist(*tables);
  std::vector<double> letters, picks;
  for (const std::string& word : dict::splitWords(*paragraph)) {
    if (const auto typed = typist.type(word)) {
      for (const auto& key : typed->keys)
        letters.push_back(press(guint(key.typed.at(0)), false));
      picks.push_back(press(IBUS_KEY_space, true));
    }
  }

  std::printf("key press through ibus-daemon to preedit or commit received\n");
  printKeyPressFigures("letters", letters);
  printKeyPressFigures("picks (Space)", picks);
  std::fflush(stdout);
  return std::system(
      "printf '%-34s %s KiB\\n' 'ornavel-ibus resident memory' "
      "\"$(ps -C ornavel-ibus -o rss= | head -1)\"");
}
