// The second step of an import: the rows staged in Tabla2 go into Tabla1, new QSOs added and
// duplicates rewritten, all in one transaction.
#pragma once

#include "import/importstaging.h"

#include <functional>

namespace vorta {

namespace db {
class Database;
}

struct LoadOutcome
{
    int added = 0, replaced = 0;
    bool aborted = false; // stopped on request; Tabla1 is as it was
    int loaded() const { return added + replaced; }
};

// Loads the staged rows in date and time order, on a log the caller holds open. A new QSO is
// added as staged. A duplicate rewrites the row it names through the record update, keeping
// what the file did not carry (the defaults of notCarried, and every empty value) and what it
// carried back only upper-cased or cut (the notes, the locator, calls, satellite, the uplink
// mode as the export writes it), and never clearing a confirmation; from a confirmation
// service it is marked confirmed both ways. A
// duplicate whose row is gone meanwhile is added instead of lost. keepGoing(done, total) is
// asked before each row; false rolls everything back. A database error rolls back too and is
// thrown as db::DbError.
LoadOutcome loadStaged(db::Database &database, const AdifHeader &header, const StagedDefaults &defaults,
                       const std::function<bool(int done, int total)> &keepGoing);

} // namespace vorta
