#include "TAusleihlisteLoeschenF.h"

#include "mainwindow/TMainform.h"

TAusleihlisteLoeschenF::TAusleihlisteLoeschenF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TAusleihlisteLoeschenF"));
    setWindowTitle(tr("Ausleihliste löschen"));
}

TAusleihlisteLoeschenF::~TAusleihlisteLoeschenF() = default;
