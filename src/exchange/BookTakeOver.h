#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class LibraryData;
class PacketReader;

// Takes the books of the previous version's book file over into the library: each record of the
// file becomes a new book, in file order, with the number the database assigns.
namespace BookTakeOver {

struct Hooks
{
    // Asked when the file's books seem to be in the library already (as many books in a row, by
    // number, from the file's first title to its last). True adds them once more; without an
    // answer nothing is added.
    std::function<bool(int bookCount)> confirmRepeat;
    // Before each book and once at the end (done == total); false stops, and nothing is taken over.
    std::function<bool(int done, int total)> progress;
    // Runs inside the transaction with the book just posted under the cursor of the books; the
    // stored value lists take up its values here. After a failure or a stop the caller re-reads
    // the lists, since their writes are rolled back too.
    std::function<void()> bookPosted;
};

struct Result
{
    int taken = 0;
    // Marked as lent in the file; taken over as not lent, since no loan comes with them.
    int lentInFile = 0;
    // Numbers of the new books whose remark was cut to the size of the field.
    QList<qint64> cutRemarks;
    int remarkSize = 0;
    // Stopped through the progress hook, or a repeat the user declined: nothing was taken over.
    bool cancelled = false;

    QString summary() const;
};

// Throws DataError when a column the take-over needs is missing or has another type.
void checkColumns(const PacketReader& packet);

// True when the library holds as many books in a row (by number) as the file has, starting
// with the file's first title and ending with its last.
bool looksTakenOver(LibraryData& data, const PacketReader& packet);

// Checks the columns, asks about a repeat, and takes every book over in one transaction: a
// failure (DataError, with the position of the book in the file) takes nothing over.
Result takeOver(LibraryData& data, const PacketReader& packet, const Hooks& hooks);
// The same for the book file of that name; a file that cannot be read takes nothing over.
Result takeOverFile(LibraryData& data, const QString& fileName, const Hooks& hooks);

// A double amount as the whole cents it shows with two decimals (rounded at 15 significant
// digits, then half away from zero); nothing for a value that is no amount.
std::optional<qint64> centsOf(double amount);

} // namespace BookTakeOver
