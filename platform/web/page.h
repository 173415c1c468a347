#pragma once

#include <cstdint>

// What the page does for the browser backend, written in JavaScript
// (page.js): it keeps the game's windows as parts of the page, each a
// canvas with the labels and buttons over it. Windows and their elements
// are numbered by the backend; positions are in the page's CSS pixels.
extern "C" {

// Adds a window: its form's name and caption, and the window it belongs to
// (-1 for none), over which it opens as a dialog.
void gulpo_page_open(int window, const char* name, const char* caption, int owner);
void gulpo_page_show(int window, int visible);
void gulpo_page_destroy(int window);
// Fits the window's client area of that many twips into the page, and
// writes the size of its canvas in device pixels to size[0] and size[1].
void gulpo_page_fit(int window, int clientWidth, int clientHeight, int* size);
// How many device pixels make a CSS pixel.
double gulpo_page_ratio(void);
// True once the page's size or pixel ratio has changed since last asked.
int gulpo_page_resized(void);

void gulpo_page_label(int window, int element, const char* name, const char* caption, double x,
                      double y, double width, double height, double textPx, int foreRgb,
                      int visible, int namedBy, const char* valueName);
// A button's caption marks its access key with an ampersand.
void gulpo_page_button(int window, int element, const char* name, const char* caption, double x,
                       double y, double width, double height, double textPx, int visible);
// The button that holds the window's focus and the one Enter presses
// (each -1 for none); `active` moves the page's focus into the window.
void gulpo_page_focus(int window, int focused, int enter, int active);
// Puts the rectangle (x, y, width, height) of an RGBA picture of the whole
// canvas (canvasWidth pixels wide) on the canvas.
void gulpo_page_blit(int window, const std::uint8_t* rgba, int canvasWidth, int canvasHeight, int x,
                     int y, int width, int height);

// Tells the player something that does not stop the game; the page shows
// it above the game (the event "gulpo-notice", its detail the text).
void gulpo_page_notice(const char* text);

// True while the page is hidden (another tab, a minimised browser).
int gulpo_page_hidden(void);
// A dot's sound, `lateMs` after the dot was eaten; a sound that would
// start more than 50 ms after the dot is dropped.
void gulpo_page_beep(double lateMs);
}
