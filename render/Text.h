#pragma once

// Draws text with the bitmap font from (x, y, z) in the current coordinate system; a size of 10 gives
// glyphs 1/70 wide and 1/30 high of a unit square. The glyphs fade from (r, g, b) at the bottom to white.
void drawText(float x, float y, float z, const char* text, float size, float r, float g, float b);
// The same in the default blue.
void drawText(float x, float y, float z, const char* text, float size);
// Four white digits with leading zeros at the current origin, towards -x (read from the chase camera).
void drawNumber(int value, float size);

// Font cell of a character: column and row of the 32 x 16 grid; false for characters the font lacks.
// mirrored is set for the punctuation cells, which are read from right to left.
bool fontCell(char ch, int* column, int* row, bool* mirrored);
