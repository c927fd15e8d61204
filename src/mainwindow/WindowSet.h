#pragma once

class TAboutF;
class TAusleiheBuchenF;
class TAusleihhistorieF;
class TAusleihlisteLoeschenF;
class TAuswertenF;
class TDB1EingabeF;
class TDBErstellenF;
class TDatenbankaktualisierungF;
class TLeserEingebenF;
class TMainform;
class TOptionenF;
class TRueckgabeF;
class TSpeicherwerteLoeschenF;

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
    TAusleiheBuchenF* AusleiheBuchenF = nullptr;
    TAusleihhistorieF* AusleihhistorieF = nullptr;
    TAuswertenF* AuswertenF = nullptr;
    TLeserEingebenF* LeserEingebenF = nullptr;
    TOptionenF* OptionenF = nullptr;
    TRueckgabeF* RueckgabeF = nullptr;
    TAboutF* AboutF = nullptr;
    TDB1EingabeF* DB1EingabeF = nullptr;
    TDatenbankaktualisierungF* DatenbankaktualisierungF = nullptr;
    TSpeicherwerteLoeschenF* SpeicherwerteLoeschenF = nullptr;
    TAusleihlisteLoeschenF* AusleihlisteLoeschenF = nullptr;
};
