#include "TAuswertenF.h"

#include "mainwindow/TMainform.h"

TAuswertenF::TAuswertenF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TAuswertenF"));
    setWindowTitle(tr("Auswerten"));
}

TAuswertenF::~TAuswertenF() = default;
