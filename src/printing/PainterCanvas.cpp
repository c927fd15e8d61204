#include "PainterCanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <cmath>

PainterCanvas::PainterCanvas(QPainter& painter) : m_painter(painter)
{
    setFont(QStringLiteral("Arial"), 100);
}

double PainterCanvas::cellHeightPerMille(const QString& family)
{
    auto it = m_cellHeights.constFind(family);
    if (it != m_cellHeights.constEnd())
        return *it;
    QFont probe(family);
    probe.setPixelSize(1000);
    const QFontMetricsF metrics(probe, m_painter.device());
    const double cell = metrics.ascent() + metrics.descent();
    return *m_cellHeights.insert(family, cell > 0 ? cell : 1000.0);
}

void PainterCanvas::setFont(const QString& family, int height)
{
    // Heights are given as cell heights; Qt sizes fonts by the em, which is smaller.
    const int pixelSize = std::max(1, int(std::lround(height * 1000.0 / cellHeightPerMille(family))));
    if (m_metrics && m_font.family() == family && m_font.pixelSize() == pixelSize)
        return;
    m_font = QFont(family);
    m_font.setPixelSize(pixelSize);
    // The same glyph advances when measuring and drawing, whatever the device's hinting.
    m_font.setHintingPreference(QFont::PreferNoHinting);
    // Without kerning a text is never wider than its characters' advances added up.
    m_font.setKerning(false);
    m_metrics.emplace(m_font, m_painter.device());
    m_maxCharWidth = -1;
}

void PainterCanvas::drawText(int x, int y, const QString& text)
{
    if (text.isEmpty())
        return;
    const int width = m_metrics->horizontalAdvance(text);
    int left = x;
    int baseline = y;
    switch (m_anchor) {
    case Anchor::LeftTop:
        baseline = y + m_metrics->ascent();
        break;
    case Anchor::CenterTop:
        left = x - width / 2;
        baseline = y + m_metrics->ascent();
        break;
    case Anchor::LeftBaseline:
        break;
    }
    m_painter.fillRect(QRect(left, baseline - m_metrics->ascent(), width, m_metrics->ascent() + m_metrics->descent()),
                       Qt::white);
    m_painter.setFont(m_font);
    m_painter.setPen(QPen(Qt::black));
    m_painter.drawText(QPoint(left, baseline), text);
}

int PainterCanvas::textWidth(const QString& text)
{
    return text.isEmpty() ? 0 : m_metrics->horizontalAdvance(text);
}

int PainterCanvas::maxCharWidth()
{
    // The font's own maximum counts glyphs far wider than any letter; the widest printable
    // Latin-1 character gives a much tighter bound.
    if (m_maxCharWidth < 0) {
        m_maxCharWidth = 0;
        for (char16_t u = 0x20; u <= 0xff; ++u)
            if (u < 0x7f || u >= 0xa0)
                m_maxCharWidth = std::max(m_maxCharWidth, m_metrics->horizontalAdvance(QChar(u)));
    }
    return m_maxCharWidth;
}

void PainterCanvas::drawLine(int x1, int y1, int x2, int y2)
{
    m_painter.setPen(QPen(Qt::black, m_penWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(x1, y1, x2, y2);
}
