// Measures prediction quality the way a user experiences it. For each word of a text the user
// looks at the first row of five candidates: first the predictions for the previous word, then
// after each typed letter; as soon as the word is there it is picked with one key (Space or its
// digit). A word that never shows up is typed whole and committed raw with one key (Space).
// A letter costs the key presses the key map needs for it (Shift is part of its key; a two-key
// spelling costs two, the separating key one more).
// Each line of the text starts without context, as a fresh paragraph would.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/candidate_grid.h"
#include "engine_session.h"
#include "key_map_file.h"

namespace ornav::dict {

inline constexpr std::size_t firstRowSize = CandidateGrid::pageSize;

struct EvalFigures {
  std::size_t words = 0;              // words the key map can type
  std::size_t letters = 0;            // their letters
  std::size_t keys = 0;               // presses spent on them, picks and commits included
  std::size_t from_predictions = 0;   // picked before typing any letter
  std::size_t from_candidates = 0;    // picked after typing at least one letter
  std::size_t typed_whole = 0;        // committed raw
  std::size_t out_of_vocabulary = 0;  // not a dictionary word
  std::size_t untypeable = 0;         // skipped: the key map cannot produce some letter
  std::size_t full_keys = 0;          // presses to type every word in full, plus its Space

  // Presses without prediction: every letter plus one Space per word.
  std::size_t baselineKeys() const { return letters + words; }
  double keystrokeSavings() const;
  double predictionShare() const;
  double outOfVocabularyRate() const;
};

struct EvalOptions {
  // Learning on: picks go through the engine's pick, which raises the user's counts. Off: the
  // engine only ever sees raw commits of the wanted word, which never change its ranking.
  bool learning = true;
  std::function<bool(std::string_view)> in_vocabulary;
  std::function<void(std::size_t words_done)> progress;  // called every 1000 words
};

EvalFigures evaluate(EngineSession& engine, const Typist& typist,
                     const std::vector<std::vector<std::string>>& lines,
                     const EvalOptions& options);

}  // namespace ornav::dict
