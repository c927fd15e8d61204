#include "GuiFixture.h"

#include "datastore/Settings.h"
#include "mainwindow/MainWindow.h"

GuiFixture::GuiFixture() = default;

GuiFixture::~GuiFixture()
{
    windows.reset(); // before the settings location and the database folder go
}

LibraryData& GuiFixture::data() const
{
    return windows->mainWindow->data();
}

void GuiFixture::createLibrary()
{
    createLibraryDatabase(env.dbDir());
    Settings::WriteSettingString(SettingName::DBPfad, env.dbDir());
}

MainWindow* GuiFixture::start()
{
    windows = std::make_unique<WindowSet>();
    windows->mainWindow->show();
    return windows->mainWindow;
}

QString GuiFixture::finish()
{
    windows.reset();
    QStringList problems;
    if (!messages.unexpected.isEmpty())
        problems << QStringLiteral("unexpected: ") + messages.unexpected.join(QStringLiteral(" | "));
    if (!messages.allAnswered())
        problems << QStringLiteral("expected but not shown; shown: ") + messages.shown.join(QStringLiteral(" / "));
    return problems.join(u'\n');
}
