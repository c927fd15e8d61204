#pragma once

#include <QString>

// The few drawing operations a printed list needs, in device dots. The page model draws only
// through this, so that it can be tested with a recording canvas and fixed font metrics.
class PageCanvas
{
public:
    enum class Anchor { LeftTop, CenterTop, LeftBaseline };

    virtual ~PageCanvas() = default;

    // `height` is the cell height (ascent plus descent) in dots.
    virtual void setFont(const QString& family, int height) = 0;
    virtual void setAnchor(Anchor anchor) = 0;
    // Drawn black on an opaque white cell, so that later text covers earlier text.
    virtual void drawText(int x, int y, const QString& text) = 0;
    virtual int textWidth(const QString& text) = 0;
    // At least the advance of any printable Latin-1 character in the current font, which has a
    // glyph of its own for each; 0 if unknown.
    // Lets the layout skip measuring texts that cannot be the widest.
    virtual int maxCharWidth() { return 0; }
    virtual void setPenWidth(int width) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
};
