// The fonts the windows are designed with (Verdana, Arial, MS Sans Serif) are not on every
// system; this maps each to a free font of like shape and width.
#pragma once

void installFontSubstitutes();
