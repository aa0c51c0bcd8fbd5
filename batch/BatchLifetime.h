#pragma once

// What the program knows of running batch workers, so that it can end cleanly
// when the main window is closed during a batch: the walk stops before its next
// document, the document in hand is finished (its save replaces the file whole),
// and the program waits for the worker while still serving its control reads.
namespace batchlife {

void RequestStop();
bool StopRequested();
void ResetStop();

// Runs the window thread's event loop until every worker has ended and been freed.
void WaitForWorkers();
int RunningWorkers();

} // namespace batchlife
