// The menu window's painting: the faces of the Exit and Settings buttons and of every slot button, drawn into
// the buttons' own device contexts from the skin's pictures and caption style.
#pragma once
#include <windows.h>

#include "menu_state.h"

// Size of a state picture at the left end of a slot button; the caption takes the rest of the button.
constexpr int kStatePictureSize = 100;

// WM_PAINT of the menu window: the Exit and Settings faces, then each slot button's face.
void OnMenuPaint(HWND hwnd);

// Reads the caption style from the skin document's "Settings" section into the menu state's text style.
void ReadTextStyle();

// Fills the caption font request for a device context of logPixelsY dots per inch.
void FillCaptionFont(LOGFONTW *lf, const TextStyle &style, int logPixelsY);

// The top of the caption's rectangle, so that text measured into measured stands centred in the button's height.
int CaptionTop(const RECT &measured);

// Draws the face of slot's button into hdc (whose origin is the button's top-left corner): the background picture
// at backgroundPath, the slot's state picture over its left end, and the caption in the current text style.
// Every picture and font made here is released before it returns.
void PaintSlotFace(HDC hdc, int slot, const wchar_t *backgroundPath);
