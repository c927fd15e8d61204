#include "DialogLook.h"

#include "GradientPanel.h"

#include <QDialog>
#include <QLayout>

#include <algorithm>

namespace DialogLook {

void apply(QDialog* dialog, QWidget* buttonBar, const QColor& barEndColour)
{
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, Background);
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);

    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);

    if (auto* bar = qobject_cast<GradientPanel*>(buttonBar)) {
        bar->setStartColour(Background);
        bar->setEndColour(barEndColour);
    }

    // Fixed size: the size the form was designed with, grown where the layout needs more
    // (longer translations, larger fonts).
    if (QLayout* layout = dialog->layout())
        layout->activate();
    QSize size = dialog->testAttribute(Qt::WA_Resized) ? dialog->size() : dialog->sizeHint();
    size = size.expandedTo(dialog->minimumSizeHint());
    if (dialog->hasHeightForWidth())
        size.setHeight(std::max(size.height(), dialog->heightForWidth(size.width())));
    dialog->setFixedSize(size);
}

} // namespace DialogLook
