// The settings dialog's controls as it is designed: positions in twips (left,
// top, width, height; relative to the window's inner area, or to the panel
// Pic_C where marked), the captions that are the same in every language, and
// fonts. The other captions are in the string tables (settings_dialog.rc).
#pragma once

#include "ripplume_version.h"

struct TwipsBox {
    int Left, Top, Width, Height;
};

constexpr int InnerWidthTwips = 7425;  // 495 x 246 pixels at 96 dpi
constexpr int InnerHeightTwips = 3690;

constexpr TwipsBox PicC = {180, 240, 7035, 2475};
constexpr TwipsBox Shape3 = {300, 300, 1695, 315};        // in the panel
constexpr TwipsBox Lbl15 = {300, 360, 1665, 195};         // in the panel
constexpr TwipsBox BgmRepeatBox = {1680, 780, 615, 300};  // in the panel
constexpr TwipsBox Lbl14 = {2340, 840, 990, 195};         // in the panel
constexpr TwipsBox CmdFile = {1680, 1380, 615, 315};      // in the panel
constexpr TwipsBox LblFname = {660, 1740, 6135, 495};     // in the panel
constexpr TwipsBox Lbl7 = {180, 2880, 2475, 195};
constexpr TwipsBox LblUrl = {180, 3120, 3285, 195};
constexpr TwipsBox CmdSet = {4740, 3000, 1215, 375};
constexpr TwipsBox CmdCan = {6000, 3000, 1215, 375};

// Option marks and their labels, indexed by the BgmKind they stand for; on
// screen the order from the top is audio CD, none, music file.
constexpr TwipsBox ImgBgm[3] = {{420, 1140, 195, 195}, {420, 840, 195, 195}, {420, 1440, 195, 195}};
constexpr TwipsBox LblBgm[3] = {{660, 1140, 330, 195}, {660, 840, 645, 195}, {660, 1440, 900, 195}};
// A label and the control after it on its row (the repeat box after 音楽CD,
// the "..." button after MP3、WAV) keep at least this gap: a longer caption
// in another language moves the control, and the label after it, along.
constexpr int RowGapTwips = 30;

// The controls' ids (the test probe finds the buttons by them).
enum ControlId { IdBgmRepeat = 201, IdCmdFile, IdCmdSet, IdCmdCan };

// The title is also the mark of an open dialog, so it is the same in every language.
inline constexpr wchar_t DialogTitle[] = L"<Ripplume>";
inline constexpr wchar_t FileButtonCaption[] = L"...";
inline constexpr wchar_t MakerUrl[] = L"http://ripplume.example/";
inline constexpr wchar_t CreditLine[] = L"Ripplume " RIPPLUME_VERSION_WIDE L"  ©2026 Ripplume team";

// Characters, for the name and for the title: the longest path Windows has,
// so no name the chooser can give is cut.
constexpr unsigned ChooserBufferSize = 32767;

constexpr int RepeatListLast = 30;  // the repeat list: "" and "1" .. "30"

// Every caption: in Japanese ＭＳ Ｐゴシック (Japanese character set), or the
// first of the others where it is not installed (Windows 10 and 11 install it
// only with the Japanese supplemental fonts); in English the system's message
// font. Both at the same size.
inline constexpr const wchar_t* JapaneseLabelFaces[] = {L"ＭＳ Ｐゴシック", L"Yu Gothic UI", L"Meiryo UI"};
constexpr double LabelPoints = 9.75;
inline constexpr wchar_t PanelFace[] = L"Tahoma";  // the panel's own font, used by the repeat box
constexpr double PanelPoints = 8.25;
