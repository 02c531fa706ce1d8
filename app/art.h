// Our own pixel art: the speed-button glyphs and the window icon, drawn as text so that anyone can
// edit them in a text editor. One character per pixel, colours from kPalette; '.' is transparent.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace quillorb {

enum class Glyph { Count, Bank, Config, Undo, Inscription, SelectCharacter, Analysis, RuneCasting };

// The glyph as a bitmap whose lower-left pixel holds its transparent colour.
win::Bitmap MakeGlyph(Glyph glyph);
// The 32 x 32, 16-colour window icon, each of its pixels `multiple` x `multiple` (64 x 64 for a
// window at 192 DPI).
win::Icon MakeWindowIcon(int multiple = 1);

}  // namespace quillorb
