#pragma once

// Checks the web view runtime, chooses the page language, obtains the update
// list and shows the main window until it is closed. Returns early when the
// user declines a retry of the update list.
void mainFlow();
