#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TRueckgabeF : public QDialog
{
    Q_OBJECT

public:
    explicit TRueckgabeF(TMainform& main);
    ~TRueckgabeF() override;

private:
    TMainform& m_main;
};
