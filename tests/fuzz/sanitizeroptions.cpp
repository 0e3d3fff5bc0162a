// SPDX-License-Identifier: GPL-3.0-or-later
// Every fuzz target's sanitizer defaults, however it is started: allocation stacks of two frames.
// Deeper frames read garbage through Qt's and the C library's frames, so every stack was new and
// the store of them grew without end (beyond 1 GB in a million runs). ASAN_OPTIONS still wins.

extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() { return "malloc_context_size=2"; }
