#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TAusleihlisteLoeschenF : public QDialog
{
    Q_OBJECT

public:
    explicit TAusleihlisteLoeschenF(TMainform& main);
    ~TAusleihlisteLoeschenF() override;

private:
    TMainform& m_main;
};
