// The display's resolution in dots per inch, for turning twips into pixels.
#pragma once

// Read once from the screen (LOGPIXELSY) and kept; 96 when it cannot be read.
int ScreenDpi();
