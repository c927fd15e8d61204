#pragma once

#include "PageCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <optional>

class QPainter;

// Draws on a QPainter in the device's own pixels (printer, PDF writer, preview page).
class PainterCanvas : public PageCanvas
{
public:
    explicit PainterCanvas(QPainter& painter);

    void setFont(const QString& family, int height) override;
    void setAnchor(Anchor anchor) override { m_anchor = anchor; }
    void drawText(int x, int y, const QString& text) override;
    int textWidth(const QString& text) override;
    int maxCharWidth() override;
    void setPenWidth(int width) override { m_penWidth = width; }
    void drawLine(int x1, int y1, int x2, int y2) override;

    // The font a family name and cell height resolve to on this device.
    const QFont& font() const { return m_font; }

private:
    // Cell height of the family at a pixel size of 1000, on this device.
    double cellHeightPerMille(const QString& family);

    QPainter& m_painter;
    QFont m_font;
    std::optional<QFontMetrics> m_metrics;
    QHash<QString, double> m_cellHeights;
    Anchor m_anchor = Anchor::LeftTop;
    int m_penWidth = 0;
    int m_maxCharWidth = -1; // of the current font; -1 until asked
};
