#pragma once

#include <QColor>

class QDialog;
class QWidget;

// The look every dialog shares: grey background RGB(233,233,233), a tool-window frame of fixed
// size with a small title bar, and a bottom button bar whose colour gradient runs from the same
// grey to the dialog's own colour.
namespace DialogLook {

inline const QColor Background{233, 233, 233};
inline const QColor DefaultBarColour{58, 110, 165};
inline const QColor TealBarColour{0, 111, 111};

// `buttonBar` is a GradientPanel (may be null); `barEndColour` its end colour.
void apply(QDialog* dialog, QWidget* buttonBar, const QColor& barEndColour = DefaultBarColour);

} // namespace DialogLook
