#pragma once

class TDBErstellenF;
class TDatenbankaktualisierungF;
class TMainform;

// Every window of the program, each created once, the main window first. main() and the GUI
// tests create the windows through this one class, so that tests see what users see.
class WindowSet
{
public:
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    TMainform* Mainform = nullptr;
    TDBErstellenF* DBErstellenF = nullptr;
    TDatenbankaktualisierungF* DatenbankaktualisierungF = nullptr;
};
