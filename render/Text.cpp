#include "render/Text.h"

#include "core/Engine.h"

#include <GL/gl.h>

namespace {

constexpr float CellWidth = 0.03125f;
constexpr float CellHeight = 0.0625f;
constexpr float DefaultColor[3] = {0.3f, 0.3f, 1.0f};
constexpr int DigitRow = 2;

struct Punctuation {
    char ch;
    int column;
};
constexpr Punctuation punctuation[] = {{':', 12}, {'!', 13}, {'.', 15}, {'/', 16}, {'%', 17}};

} // namespace

bool fontCell(char ch, int* column, int* row, bool* mirrored) {
    *mirrored = false;
    if (ch >= 'A' && ch <= 'Z') {
        *column = ch - 'A';
        *row = 0;
        return true;
    }
    if (ch >= 'a' && ch <= 'z') {
        *column = ch - 'a';
        *row = 1;
        return true;
    }
    if (ch >= '0' && ch <= '9') {
        *column = ch - '0';
        *row = DigitRow;
        return true;
    }
    for (const Punctuation& p : punctuation) {
        if (p.ch == ch) {
            *column = p.column;
            *row = DigitRow;
            *mirrored = true;
            return true;
        }
    }
    return false;
}

void drawText(float x, float y, float z, const char* text, float size, float r, float g, float b) {
    const float w = size / 700.0f;
    const float h = size / 300.0f;
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, Engine::instance()->texChars);
    glTranslatef(x, y, z);
    for (const char* p = text; *p; ++p) {
        int column = 0;
        int row = 0;
        bool mirrored = false;
        if (*p != ' ' && !fontCell(*p, &column, &row, &mirrored))
            continue;
        if (*p != ' ') {
            float u0 = CellWidth * static_cast<float>(column);
            float u1 = u0 + CellWidth;
            if (mirrored) {
                const float t = u0;
                u0 = u1;
                u1 = t;
            }
            const float vt = CellHeight * static_cast<float>(row);
            const float vb = vt + CellHeight;
            const float top = row == 0 ? 1.0f : 0.9f;
            glBegin(GL_QUADS);
            glColor4f(r, g, b, 1);
            glTexCoord2f(u0, vb);
            glVertex3f(0, 0, 0);
            glTexCoord2f(u1, vb);
            glVertex3f(w, 0, 0);
            glColor4f(top, top, 1, 1);
            glTexCoord2f(u1, vt);
            glVertex3f(w, h, 0);
            glTexCoord2f(u0, vt);
            glVertex3f(0, h, 0);
            glEnd();
        }
        glTranslatef(w, 0, 0);
    }
    glPopMatrix();
}

void drawText(float x, float y, float z, const char* text, float size) {
    drawText(x, y, z, text, size, DefaultColor[0], DefaultColor[1], DefaultColor[2]);
}

void drawNumber(int value, float size) {
    const float w = size / 700.0f;
    const float h = size / 300.0f;
    const float vTop = CellHeight * DigitRow;
    const float vBottom = vTop + CellHeight;
    glBindTexture(GL_TEXTURE_2D, Engine::instance()->texChars);
    glColor4f(1, 1, 1, 1);
    // Four cells only: anything else would read glyphs beyond the digits.
    if (value < 0)
        value = 0;
    if (value > 9999)
        value = 9999;
    for (int divisor = 1000; divisor >= 1; divisor /= 10) {
        const int d = value / divisor;
        value -= d * divisor;
        const float u0 = CellWidth * static_cast<float>(d);
        glBegin(GL_QUADS);
        glTexCoord2f(u0, vBottom);
        glVertex3f(w, 0, 0);
        glTexCoord2f(u0 + CellWidth, vBottom);
        glVertex3f(0, 0, 0);
        glTexCoord2f(u0 + CellWidth, vTop);
        glVertex3f(0, h, 0);
        glTexCoord2f(u0, vTop);
        glVertex3f(w, h, 0);
        glEnd();
        glTranslatef(-w, 0, 0);
    }
}
