// SPDX-License-Identifier: GPL-3.0-or-later
// The sanitizer's defaults for every fuzz target, however it is started (built into each target,
// so the linker always takes it): allocation stacks of two frames, enough to name the library
// that allocated. Deeper frames are read through Qt's and the C library's, which keep no frame
// pointer; their garbage makes every stack new, and the sanitizer's store of stacks grew without
// end (beyond 1 GB in a million runs, and slowly). Options given in ASAN_OPTIONS still win.

extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() { return "malloc_context_size=2"; }
