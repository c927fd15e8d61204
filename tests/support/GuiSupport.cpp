#include "GuiSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <memory>

ScriptedMessages::ScriptedMessages()
{
    reinstall();
}

void ScriptedMessages::reinstall()
{
    Messages::setHandler([this](Messages::Kind kind, const QString& text, Messages::Buttons) {
        shown << text;
        kinds << kind;
        details << Messages::currentDetails();
        for (int i = 0; i < m_expected.size(); ++i) {
            if (text.contains(m_expected.at(i).text)) {
                const Expected e = m_expected.takeAt(i);
                if (e.whileOpen)
                    e.whileOpen();
                return e.answer;
            }
        }
        unexpected << text;
        return Messages::Answer::Cancel;
    });
}

ScriptedMessages::~ScriptedMessages()
{
    Messages::setHandler({});
}

void ScriptedMessages::expect(const QString& text, Messages::Answer answer)
{
    m_expected.append({text, answer, {}});
}

void ScriptedMessages::expect(const QString& text, Messages::Answer answer, std::function<void()> whileOpen)
{
    m_expected.append({text, answer, std::move(whileOpen)});
}

std::shared_ptr<bool> whenModal(const QString& objectName, std::function<void(QWidget*)> act, int timeoutMs)
{
    auto done = std::make_shared<bool>(false);
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == objectName) {
            timer->stop();
            timer->deleteLater();
            *done = true;
            act(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            // Close whatever is modal so that the test fails instead of hanging.
            if (modal)
                modal->close();
        }
    });
    timer->start();
    return done;
}

void click(QWidget* parent, const QString& name)
{
    QTest::mouseClick(child<QAbstractButton>(parent, name), Qt::LeftButton);
}

bool triggerAction(QWidget* window, const QString& objectName)
{
    QAction* a = window->findChild<QAction*>(objectName);
    if (!a || !a->isEnabled())
        return false;
    a->trigger();
    return true;
}
