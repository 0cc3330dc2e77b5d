#pragma once

#include "TADOConnection.h"

#include <QString>
#include <QStringList>

// The measured cases. Each runs either through the program ("ours": the
// window's own handler on a fresh window) or as its floor: the same
// statement texts straight through QSqlQuery in forward-only mode, every
// value of every row read once, no snapshot, no widget, no query object.
namespace BenchCases {

struct Sample
{
    double milliseconds = 0;
    qint64 peakBytes = 0;      // resident high-water mark over the resident size before the step
    qint64 processPeakBytes = 0; // the process's resident high-water mark after the step
    qint64 snapshotBytes = 0;  // Snapshot::memoryBytes() of the results left open (ours only)
    qint64 textBytes = 0;      // UTF-8 size of those results' cells as the program reads them
    qint64 rows = 0;           // rows of those results (ours), or rows read (floor)
};

struct Target
{
    ConnectionSettings program; // what the program connects with
    ConnectionSettings owner;   // a login that may rewrite Net between runs
};

QStringList caseNames(); // formshow, count, category, tidyup

// Runs one case once; throws Failure on any error, including a message box
// other than the one the case ends with.
Sample run(const QString& caseName, bool ours, const Target& target);

// Untimed work before every run of a case (the tidy-up puts its slashes back).
void prepare(const QString& caseName, const Target& target);

} // namespace BenchCases
