#include "TDB1EingabeF.h"

#include "mainwindow/TMainform.h"

TDB1EingabeF::TDB1EingabeF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TDB1EingabeF"));
    setWindowTitle(tr("Bücher eingeben"));
}

TDB1EingabeF::~TDB1EingabeF() = default;

void TDB1EingabeF::FillBookEntryLists() {}
