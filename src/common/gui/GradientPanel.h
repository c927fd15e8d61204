#pragma once

#include <QColor>
#include <QFrame>

// A panel filled with a linear colour gradient: the bottom button bar of the dialogs and the
// background of the main window's tool bar. Children (buttons) are laid out on top of it.
class GradientPanel : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QColor startColour READ startColour WRITE setStartColour)
    Q_PROPERTY(QColor endColour READ endColour WRITE setEndColour)
    Q_PROPERTY(Qt::Orientation orientation READ orientation WRITE setOrientation)

public:
    explicit GradientPanel(QWidget* parent = nullptr);
    ~GradientPanel() override;

    QColor startColour() const { return m_start; }
    QColor endColour() const { return m_end; }
    // Horizontal: start colour at the left edge; vertical: start colour at the top edge.
    Qt::Orientation orientation() const { return m_orientation; }

    void setStartColour(const QColor& colour);
    void setEndColour(const QColor& colour);
    void setOrientation(Qt::Orientation orientation);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_start;
    QColor m_end;
    Qt::Orientation m_orientation = Qt::Horizontal;
};
