#include "GradientPanel.h"

#include "DialogLook.h"

#include <QLinearGradient>
#include <QPainter>

GradientPanel::GradientPanel(QWidget* parent)
    : QFrame(parent), m_start(DialogLook::Background), m_end(DialogLook::DefaultBarColour)
{
    // The gradient covers every pixel; Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

GradientPanel::~GradientPanel() = default;

void GradientPanel::setStartColour(const QColor& colour)
{
    if (m_start == colour)
        return;
    m_start = colour;
    update();
}

void GradientPanel::setEndColour(const QColor& colour)
{
    if (m_end == colour)
        return;
    m_end = colour;
    update();
}

void GradientPanel::setOrientation(Qt::Orientation orientation)
{
    if (m_orientation == orientation)
        return;
    m_orientation = orientation;
    update();
}

void GradientPanel::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        const QRectF r = rect();
        const QPointF end = m_orientation == Qt::Horizontal ? r.topRight() : r.bottomLeft();
        QLinearGradient gradient(r.topLeft(), end);
        gradient.setColorAt(0, m_start);
        gradient.setColorAt(1, m_end);
        painter.fillRect(r, gradient);
    }
    // The frame (if any) goes on top of the gradient.
    QFrame::paintEvent(event);
}
