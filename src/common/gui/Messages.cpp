#include "Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>

namespace Messages {

namespace {
Handler g_handler;
int g_showing = 0;
QString g_details;

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
    case Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Answer show(QWidget* parent, Kind kind, const QString& text, Buttons buttons, const QString& details = {})
{
    Showing showing;
    const QString outerDetails = std::exchange(g_details, details);
    const auto restoreDetails = qScopeGuard([&] { g_details = outerDetails; });
    if (g_handler)
        return g_handler(kind, text, buttons);
    const QMessageBox::Icon icon = kind == Kind::Question      ? QMessageBox::Question
                                   : kind == Kind::Information ? QMessageBox::Information
                                                               : QMessageBox::Critical;
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, standardButtons(buttons), parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    if (QAbstractButton* retry = box.button(QMessageBox::Retry))
        retry->setText(QCoreApplication::translate("Messages", "Wiederholen"));
    switch (box.exec()) {
    case QMessageBox::Retry:
        return Answer::Retry;
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

void error(QWidget* parent, const QString& text, const QString& details)
{
    show(parent, Kind::Error, text, Buttons::Ok, details);
}

bool askRetry(QWidget* parent, const QString& text, const QString& details)
{
    return show(parent, Kind::Question, text, Buttons::RetryCancel, details) == Answer::Retry;
}

QString currentDetails()
{
    return g_details;
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
