#include "WindowSet.h"

#include "TAboutF.h"
#include "TDBErstellenF.h"
#include "TDatenbankaktualisierungF.h"
#include "TMainform.h"
#include "catalogue/TDB1EingabeF.h"
#include "catalogue/TLeserEingebenF.h"
#include "catalogue/TOptionenF.h"
#include "catalogue/TSpeicherwerteLoeschenF.h"
#include "lending/TAusleiheBuchenF.h"
#include "lending/TAusleihhistorieF.h"
#include "lending/TAusleihlisteLoeschenF.h"
#include "lending/TRueckgabeF.h"
#include "search/TAuswertenF.h"

WindowSet::WindowSet()
{
    // The main window's creation opens the database before any other window exists; the
    // reactions therefore check that a dialog exists and is showing before they touch it.
    Mainform = new TMainform;
    TMainform& m = *Mainform;
    m.attach(this);
    DBErstellenF = new TDBErstellenF(
        m.data(),
        [&m] {
            m.ApplyFieldCaptions();
            m.SaveColumnWidths();
        },
        &m);
    AusleiheBuchenF = new TAusleiheBuchenF(m);
    AusleihhistorieF = new TAusleihhistorieF(m);
    AuswertenF = new TAuswertenF(m);
    LeserEingebenF = new TLeserEingebenF(m);
    OptionenF = new TOptionenF(m);
    RueckgabeF = new TRueckgabeF(m);
    AboutF = new TAboutF(&m);
    DB1EingabeF = new TDB1EingabeF(m);
    DatenbankaktualisierungF = new TDatenbankaktualisierungF(m.Timer1(), &m);
    SpeicherwerteLoeschenF = new TSpeicherwerteLoeschenF(m);
    AusleihlisteLoeschenF = new TAusleihlisteLoeschenF(m);
}

WindowSet::~WindowSet()
{
    delete Mainform; // owns the dialogs
}
