#ifndef ZENTROVA_FONT_H
#define ZENTROVA_FONT_H

// The built-in 8x8 glyph table: 256 glyphs in code order, 8 bytes each,
// one byte per pixel row (top row first, most significant bit leftmost).
const unsigned char* FNT_GetFont();

#endif
