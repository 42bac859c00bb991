// The host's mark that a saver run or the settings dialog is under way: a
// named mutex held by the one host that may go on. Two hosts started together
// both pass the window check before either has made its window; the mutex
// lets exactly one of them on. The preview does not take it: it runs beside a
// saver run, as the screen-saver settings page shows both.
#pragma once

// Takes the mark; false when another host holds it.
bool TakeSingleRunMark();

// Gives the mark up at once, so that a host started now may go on: a run
// that is over does so before it waits for its renderer to end.
void ReleaseSingleRunMark();
