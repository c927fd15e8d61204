#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

// One column of a printed list and its switch in the list's print dialog.
struct PrintColumn
{
    QString heading;
    QString field;      // field of the list's record set that gives the cell text
    QString switchName; // object name of the check box
    QString switchText; // its caption
    int switchLine = 0; // place of the check box in the dialog's grid
    int switchSlot = 0;
    bool numberColumn = false; // gets a minimum width
    bool dateColumn = false;   // an empty date is measured as the zero date
    bool wrapTestBefore = false;
    bool wrapTestAfter = false;
};

// Where the three lists differ. Design units of the reference sheet unless named otherwise.
struct ListVariant
{
    bool alwaysPortraitScale = false;
    int ruleEnd = 8000;
    int headingBaselineFromTop = 0; // 0: V(216) below the second heavy rule
    // A line wraps when x is greater than wrapLimitDesign × sx, or, when that is 0,
    // wrapLimitPageShare × page width. The page-full limit works alike on the height.
    int wrapLimitDesign = 0;
    double wrapLimitPageShare = 0.95;
    int continuationX = 400;
    int pageFullDesign = 0;
    double pageFullPageShare = 0.95;
};

// A printed list: its columns, its layout variant, and what its dialog and preview show and store.
struct PrintListDefinition
{
    enum class PageNumberTick { NotZero, ExactlyOne };

    QString dialogName;
    QString dialogCaption;
    QPoint dialogPlace; // null: centred on the main window
    QString previewName;
    QString previewCaption;
    int previewWidth = 0;
    int previewHeight = 0;
    int previewScale = 100;
    bool orientationToggle = false;
    bool narrowButton = false; // "Bücher eingrenzen/sortieren"
    int switchColumns = 3;     // check boxes per line
    QString titleSetting;
    QString pageNumberSetting;
    PageNumberTick pageNumberTick = PageNumberTick::ExactlyOne;
    QList<PrintColumn> columns;
    ListVariant variant;
};

namespace PrintLists {

// `captions`: the 23 column titles of the books lists, with the user's field names.
PrintListDefinition books(const QStringList& captions);
PrintListDefinition readers();
PrintListDefinition loans();

} // namespace PrintLists
