// Resource ids of the settings dialog's pictures and of the program icon,
// drawn by tools/make_dialog_pictures.cpp.
#pragma once

#define IDI_RIPPLUME 1          // program icon, 32 x 32
#define IDB_PANEL_TEXTURE 7201  // brushed-metal strip, 556 x 20 (Pic_Mbl)
#define IDB_MARK_OFF 7202       // option not chosen, 12 x 12 (Img_Ra(0))
#define IDB_MARK_ON 7203        // option chosen, 12 x 12 (Img_Ra(1))
#define IDC_LINK_HAND 7204      // pointing hand over the link, hot spot (12, 10)
