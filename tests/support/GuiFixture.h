#pragma once

#include "GuiSupport.h"
#include "TestSupport.h"
#include "mainwindow/WindowSet.h"

#include <QString>
#include <memory>

class LibraryData;
class MainWindow;

// What every test of the windows sets up: a private settings location and database folder,
// scripted answers to the program's questions (an unexpected one fails the test), and the
// program's windows, made as main() makes them.
class GuiFixture
{
public:
    GuiFixture();
    ~GuiFixture();
    GuiFixture(const GuiFixture&) = delete;
    GuiFixture& operator=(const GuiFixture&) = delete;

    TestEnvironment env;
    ScriptedMessages messages;
    std::unique_ptr<WindowSet> windows;

    MainWindow* main() const { return windows->mainWindow; }
    LibraryData& data() const;

    // Creates an empty library database in env.dbDir() and names it in the settings.
    void createLibrary();
    // Creates every window and shows the main window, as the program's start does.
    MainWindow* start();
    // Closes the windows; returns what went wrong with the questions (one nobody expected, or
    // an expected one that never came), empty when nothing did.
    QString finish();
};
