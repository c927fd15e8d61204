#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TSpeicherwerteLoeschenF : public QDialog
{
    Q_OBJECT

public:
    explicit TSpeicherwerteLoeschenF(TMainform& main);
    ~TSpeicherwerteLoeschenF() override;

private:
    TMainform& m_main;
};
