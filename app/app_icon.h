// The program's icon ("lumvard-sorvek": the I and Q axes, the unit circle
// with four constellation points and a waveform), built into the program
// from the pictures in app/icon/ (drawn by tools/make_icon.py), which are also
// installed into the desktop's icon theme folders.
#pragma once

#include "platform/gui/window_icon.h"

// The icon at every size drawn (16 to 256 pixels); made once, then shared.
const lv::WindowIcon& SorvekIcon();
