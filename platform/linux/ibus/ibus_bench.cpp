// What a key press costs through IBus: the client sends the key event to ibus-daemon, which hands
// it to ornavel-ibus, and the time runs until the client has the preedit (a letter) or the commit
// (a pick with Space). A paragraph of Uyghur is typed through the shipped key map (its words key by
// key, each taken with Space), as pad_bench types it into the typing pad. Figures: median, p99 and
// worst, letters and picks apart, and the engine process's resident memory at the end.
//
//   ibus_session.sh COMPONENT_DIR run ibus_bench BUNDLE.app PARAGRAPH.txt
#include <ibus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "key_map_file.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Seen {
  int preedits = 0;
  int commits = 0;
};

void onPreedit(IBusInputContext*, IBusText*, guint, gboolean, Seen* seen) {
  ++seen->preedits;
}
void onCommit(IBusInputContext*, IBusText*, Seen* seen) {
  ++seen->commits;
}

// Sends one key press and release and runs the loop until the answer it waits for arrived; the
// microseconds it took.
double press(IBusInputContext* context, guint keyval, Seen& seen, bool pick) {
  const Seen before = seen;
  const auto start = Clock::now();
  ibus_input_context_process_key_event_async(context, keyval, 0, 0, -1, nullptr, nullptr, nullptr);
  const auto arrived = [&] {
    return pick ? seen.commits > before.commits : seen.preedits > before.preedits;
  };
  const auto deadline = start + std::chrono::seconds(5);
  while (!arrived() && Clock::now() < deadline)
    g_main_context_iteration(nullptr, TRUE);
  const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  ibus_input_context_process_key_event(context, keyval, 0, IBUS_RELEASE_MASK);
  return micros;
}

// The resident memory of the daemon's child ornavel-ibus, in KiB (0 when not found).
long engineResidentKiB() {
  FILE* pipe = ::popen("ps -C ornavel-ibus -o rss= | head -1", "r");
  long rss = 0;
  if (pipe != nullptr) {
    if (std::fscanf(pipe, "%ld", &rss) != 1) rss = 0;
    ::pclose(pipe);
  }
  return rss;
}

void print(const char* what, std::vector<double> values) {
  if (values.empty()) return;
  std::sort(values.begin(), values.end());
  std::printf("%-34s median %7.0f us   p99 %7.0f us   worst %7.0f us   (%zu)\n", what,
              values[values.size() / 2],
              values[std::min(values.size() - 1, values.size() * 99 / 100)], values.back(),
              values.size());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ornav;
  if (argc != 3) {
    std::fprintf(stderr, "usage: ibus_bench BUNDLE.app PARAGRAPH.txt\n");
    return 2;
  }
  const std::filesystem::path bundle = argv[1];
  const auto paragraph = readWholeFile(argv[2]);
  const auto keymap = readWholeFile(bundle / "Contents" / "Resources" / "keymap.json");
  const auto tables = keymap ? dict::parseKeyMapJson(*keymap, nullptr) : std::nullopt;
  if (!paragraph || !tables) {
    std::fprintf(stderr, "ibus_bench: cannot read the paragraph or the bundle's key map\n");
    return 1;
  }
  ibus_init();
  IBusBus* bus = ibus_bus_new();
  if (!ibus_bus_is_connected(bus)) {
    std::fprintf(stderr, "ibus_bench: no IBus daemon\n");
    return 1;
  }
  IBusInputContext* context = ibus_bus_create_input_context(bus, "ibus-bench");
  Seen seen;
  g_signal_connect(context, "update-preedit-text", G_CALLBACK(onPreedit), &seen);
  g_signal_connect(context, "commit-text", G_CALLBACK(onCommit), &seen);
  ibus_input_context_set_capabilities(context, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS);
  ibus_input_context_focus_in(context);
  if (!ibus_bus_set_global_engine(bus, "ornavel")) {
    std::fprintf(stderr, "ibus_bench: the daemon cannot start ornavel\n");
    return 1;
  }

  const dict::Typist typist(*tables);
  std::vector<double> letters, picks;
  std::string word;
  const auto typeWord = [&] {
    if (word.empty()) return;
    if (const auto typed = typist.type(word)) {
      for (const auto& key : typed->keys) {
        const guint keyval = key.typed.size() == 1 ? static_cast<guint>(key.typed[0]) : 0;
        if (keyval != 0) letters.push_back(press(context, keyval, seen, false));
      }
      picks.push_back(press(context, IBUS_KEY_space, seen, true));
    }
    word.clear();
  };
  for (const std::string& character : codePoints(*paragraph)) {
    const bool letter = character.size() == 2 && static_cast<unsigned char>(character[0]) >= 0xD8;
    if (letter && character != "،" && character != "؛" && character != "؟") {
      word += character;
    } else {
      typeWord();
    }
  }
  typeWord();

  std::printf("key press through ibus-daemon to preedit or commit received\n");
  print("letters", letters);
  print("picks (Space)", picks);
  std::printf("%-34s %ld KiB\n", "ornavel-ibus resident memory", engineResidentKiB());
  return 0;
}
