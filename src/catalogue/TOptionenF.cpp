#include "TOptionenF.h"

#include "mainwindow/TMainform.h"

TOptionenF::TOptionenF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TOptionenF"));
    setWindowTitle(tr("Optionen"));
}

TOptionenF::~TOptionenF() = default;
