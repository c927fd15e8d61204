#include "TAusleiheBuchenF.h"

#include "mainwindow/TMainform.h"

TAusleiheBuchenF::TAusleiheBuchenF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TAusleiheBuchenF"));
    setWindowTitle(tr("Ausleihe buchen"));
}

TAusleiheBuchenF::~TAusleiheBuchenF() = default;
