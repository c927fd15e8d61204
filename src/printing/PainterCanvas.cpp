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
    m_metrics.emplace(m_font, m_painter.device());
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

void PainterCanvas::drawLine(int x1, int y1, int x2, int y2)
{
    m_painter.setPen(QPen(Qt::black, m_penWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(x1, y1, x2, y2);
}
