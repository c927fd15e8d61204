#include "TRueckgabeF.h"

#include "mainwindow/TMainform.h"

TRueckgabeF::TRueckgabeF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TRueckgabeF"));
    setWindowTitle(tr("Buchrückgabe"));
}

TRueckgabeF::~TRueckgabeF() = default;
