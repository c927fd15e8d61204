#pragma once

class LibraryData;
class LoanView;

// The refresh step that shows the other workstations' changes: re-reads readers, loans and
// books, and puts each cursor back on the record that was current when it is still there, so
// that an action the user is about to take still acts on the record they chose.
namespace LibraryRefresh {

// Does nothing and returns false while one of the three is being edited or a write is under
// way. With a loan view, its overdue date is renewed as well.
bool run(LibraryData& data, LoanView* loanView = nullptr);

} // namespace LibraryRefresh
