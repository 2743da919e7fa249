#pragma once

// Light or dark: the windows follow the desktop's colours. Where those are dark (or
// QUILLORNE_COLOR_SCHEME=dark asks for it, for a desktop that does not say), the
// program takes the Fusion style with a dark palette of its own, since the plain
// styles draw frames, headers and the tree's branch lines for light colours only.

#include <QPalette>

namespace qn {

// Whether `palette` is a dark one: its window colour is darker than its text.
bool IsDarkPalette(const QPalette& palette);

// A complete dark palette: every role and every colour group, the disabled texts
// dimmed and the links light enough to read.
QPalette DarkPalette();

// On the application: the dark scheme when the desktop's palette is dark or the
// environment asks for it ("dark"); "light" keeps the desktop's style as it is.
void ApplyColorScheme(const char* requested);

}  // namespace qn
