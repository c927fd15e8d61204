#include "TLeserEingebenF.h"

#include "mainwindow/TMainform.h"

TLeserEingebenF::TLeserEingebenF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TLeserEingebenF"));
    setWindowTitle(tr("Leserverwaltung"));
}

TLeserEingebenF::~TLeserEingebenF() = default;
