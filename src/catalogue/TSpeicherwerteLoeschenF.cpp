#include "TSpeicherwerteLoeschenF.h"

#include "mainwindow/TMainform.h"

TSpeicherwerteLoeschenF::TSpeicherwerteLoeschenF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TSpeicherwerteLoeschenF"));
    setWindowTitle(tr("Gespeicherte Daten ..."));
}

TSpeicherwerteLoeschenF::~TSpeicherwerteLoeschenF() = default;
