#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TLeserEingebenF : public QDialog
{
    Q_OBJECT

public:
    explicit TLeserEingebenF(TMainform& main);
    ~TLeserEingebenF() override;

private:
    TMainform& m_main;
};
