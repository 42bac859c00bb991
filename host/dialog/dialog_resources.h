// Resource ids of the settings dialog's pictures and of the program icon,
// drawn by tools/make_dialog_pictures.cpp, and of its texts.
#pragma once

#define IDI_RIPPLUME 1          // program icon, 32 x 32
#define IDB_PANEL_TEXTURE 7201  // brushed-metal strip, 556 x 20 (Pic_Mbl)
#define IDB_MARK_OFF 7202       // option not chosen, 12 x 12 (Img_Ra(0))
#define IDB_MARK_ON 7203        // option chosen, 12 x 12 (Img_Ra(1))
#define IDC_LINK_HAND 7204      // pointing hand over the link, hot spot (12, 10)

// Texts, in a Japanese and an English string table (settings_dialog.rc).
#define IDS_OPTION_NONE 7216        // the option "no music"
#define IDS_OPTION_CD 7217          // the audio CD
#define IDS_OPTION_FILE 7218        // a music file
#define IDS_SECTION 7219            // the section title framed by Shape3
#define IDS_REPEAT 7220             // after the repeat box
#define IDS_SET 7221                // OK
#define IDS_CANCEL 7222             // Cancel
#define IDS_CHOOSER_TITLE 7223      // the file chooser's title
#define IDS_CHOOSER_FILTER 7224     // its filter, the parts separated by "|"
#define IDS_NAME_NOT_STORABLE 7225  // a chosen file whose name cannot be stored
