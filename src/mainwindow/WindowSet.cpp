#include "WindowSet.h"

#include "TDBErstellenF.h"
#include "TDatenbankaktualisierungF.h"
#include "TMainform.h"

WindowSet::WindowSet()
{
    // The main window's creation opens the database before any other window exists; the
    // reactions therefore check that a dialog exists before they touch it.
    Mainform = new TMainform;
    TMainform* m = Mainform;
    DBErstellenF = new TDBErstellenF(
        m->data(),
        [m] {
            m->ApplyFieldCaptions();
            m->SaveColumnWidths();
        },
        m);
    DatenbankaktualisierungF = new TDatenbankaktualisierungF(m->Timer1(), m);
    m->attach(this);
}

WindowSet::~WindowSet()
{
    delete Mainform; // owns the dialogs
}
