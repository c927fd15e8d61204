#include "Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace Messages {

namespace {
Handler g_handler;
int g_showing = 0;

struct Showing
{
    Showing() { ++g_showing; }
    ~Showing() { --g_showing; }
};

QMessageBox::StandardButtons standardButtons(Buttons b)
{
    switch (b) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesCancel:
        return QMessageBox::Yes | QMessageBox::Cancel;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Answer show(QWidget* parent, Kind kind, const QString& text, Buttons buttons)
{
    Showing showing;
    if (g_handler)
        return g_handler(kind, text, buttons);
    const QMessageBox::Icon icon = kind == Kind::Question      ? QMessageBox::Question
                                   : kind == Kind::Information ? QMessageBox::Information
                                                               : QMessageBox::Critical;
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, standardButtons(buttons), parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return Answer::Cancel;
    }
}
} // namespace

Answer ask(QWidget* parent, const QString& text, Buttons buttons)
{
    return show(parent, Kind::Question, text, buttons);
}

void inform(QWidget* parent, const QString& text)
{
    show(parent, Kind::Information, text, Buttons::Ok);
}

void error(QWidget* parent, const QString& text)
{
    show(parent, Kind::Error, text, Buttons::Ok);
}

bool isShowing()
{
    return g_showing > 0;
}

void setHandler(Handler handler)
{
    g_handler = std::move(handler);
}

} // namespace Messages
