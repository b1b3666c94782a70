/*
 * libornav_engine: the prediction engine's whole public surface.
 *
 * Strings in and out are NUL-terminated UTF-8. Every non-null string this library returns is owned
 * by the caller, must be released exactly once with orn_string_free (never with free), and stays
 * valid after the engine that produced it has been released. No function reports errors other
 * than through a null pointer, an empty string, 0 or -1. A handle must be used by one thread at a
 * time.
 */
#ifndef ORNAV_ENGINE_H
#define ORNAV_ENGINE_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define ORN_API __declspec(dllexport)
#else
#define ORN_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OrnEngine OrnEngine;

/* Creates an engine over dict_dir (unigram.fst, bigram.fst) and the optional user_dir
 * (user_freq.tsv, user_unknown.tsv, extra_dict.tsv). Null on failure. */
ORN_API OrnEngine* orn_engine_new(const char* dict_dir, const char* user_dir);
/* Releases the engine; writes nothing. */
ORN_API void orn_engine_free(OrnEngine* engine);

/* Appends valid UTF-8 text to the composing buffer; anything else is ignored. */
ORN_API void orn_input(OrnEngine* engine, const char* text);
/* Removes the buffer's last character; 1 while text remains, else 0. */
ORN_API int32_t orn_backspace(OrnEngine* engine);
/* A copy of the composing buffer. */
ORN_API char* orn_buffer(OrnEngine* engine);
/* The ranked candidates, best first, at most 50, joined by LF; "" when there are none. */
ORN_API char* orn_candidates(OrnEngine* engine);
/* Picks candidate `index`: learns it, makes it the context and empties the buffer.
 * "" when the index is out of range (nothing changes then). */
ORN_API char* orn_select(OrnEngine* engine, size_t index);
/* Commits the buffer as typed, counting it when no dictionary knows it. */
ORN_API char* orn_commit_raw(OrnEngine* engine);
/* Empties the buffer and clears the context word. */
ORN_API void orn_reset(OrnEngine* engine);
/* The user's pick counts / unknown-word counts as word-frequency TSV. */
ORN_API char* orn_export_user_freq(OrnEngine* engine);
ORN_API char* orn_export_user_unknown(OrnEngine* engine);
/* Replaces the cloud dictionary with the TSV text; its entry count, or -1 for non-UTF-8 text. */
ORN_API int32_t orn_sync_extra_dict(OrnEngine* engine, const char* tsv);
/* Releases a string returned by this library; null is ignored. */
ORN_API void orn_string_free(char* text);

#ifdef __cplusplus
}
#endif

#endif /* ORNAV_ENGINE_H */
